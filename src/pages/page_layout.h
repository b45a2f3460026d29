#pragma once

#include <QRect>

// Places in design units of the 1077 x 681 canvas, and where they land on a
// root window of another size.
class PageLayout {
public:
    struct Place {
        double x, y, width, height;
    };

    // A design place on a root window of scale sx, sy and s = min(sx, sy).
    static QRect scaled(const Place& place, double sx, double sy);
    // Left, top, right and bottom, each scaled on its own axis.
    static QRect scaledEdges(const Place& place, double sx, double sy);
};
