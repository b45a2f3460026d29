#pragma once

class QPainter;

// The pictures of the EQ band strip (141), the value slider (142) and the
// integer slider (169), laid out as SkinLayout describes.
namespace ControlArt {
void bandStrip(QPainter& p);
void slider(QPainter& p);
void integerSlider(QPainter& p);
}  // namespace ControlArt
