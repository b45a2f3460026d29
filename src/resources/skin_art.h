#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

#include "resources/skin_ids.h"

// The skin's pictures, drawn by our own code and addressed by name. A
// picture has a natural (design) size; any region of it can be rendered at
// any pixel size, which is what stretching that region would give, but sharp.
// Thread-safe: the progress dialog composes on the link's thread.
class SkinArt {
public:
    static bool exists(SkinId id);
    // Empty for an unknown number.
    static QSize size(SkinId id);
    // The whole picture at its natural size; a null image for an unknown number.
    static QImage image(SkinId id);
    // The picture's region `source` (natural units) drawn into `pixels`.
    static QImage render(SkinId id, const QRectF& source, const QSize& pixels);
};
