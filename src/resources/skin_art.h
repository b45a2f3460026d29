#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

// The skin's pictures, drawn by our own code and addressed by number. A
// picture has a natural (design) size; any region of it can be rendered at
// any pixel size, which is what stretching that region would give, but sharp.
// Thread-safe: the progress dialog composes on the link's thread.
class SkinArt {
public:
    static bool exists(int id);
    // Empty for an unknown number.
    static QSize size(int id);
    // The whole picture at its natural size; a null image for an unknown number.
    static QImage image(int id);
    // The picture's region `source` (natural units) drawn into `pixels`.
    static QImage render(int id, const QRectF& source, const QSize& pixels);
};
