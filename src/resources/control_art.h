#pragma once

class QPainter;

// The pictures of the EQ band strip (141) and the value slider (142), laid
// out as SkinLayout describes.
namespace ControlArt {
void bandStrip(QPainter& p);
void slider(QPainter& p);
}  // namespace ControlArt
