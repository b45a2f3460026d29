#pragma once

#include <QRect>
#include <QRegion>
#include <vector>

#include "filter/graph_geometry.h"

// What one composition of the response graph drew, and where the next one
// differs from it: only there is the grid put back and the picture redrawn.
class ResponseGraphDamage {
public:
    // Margin around a stroke of the 2-pixel pen, its antialiasing included.
    static constexpr int kStrokeMargin = 4;
    static constexpr double kTension = 0.5;

    // A sprite, text or menu item: where, and a key for how it looks.
    struct Piece {
        QRect rect;
        size_t look = 0;
        bool operator==(const Piece&) const = default;
    };
    struct Scene {
        std::vector<GraphPoint> curve;    // the summed response, stroked
        std::vector<GraphPoint> outline;  // the shaded area: a closed cardinal spline, stroked
        std::vector<Piece> pieces;        // drawn over both
    };

    // The region to repaint to turn a picture of `before` into one of `now`;
    // curves and shaded area are clipped to the plot.
    static QRegion between(const Scene& before, const Scene& now, const QRect& plot);

    explicit ResponseGraphDamage(const QRegion& region);
    const QRegion& region() const { return m_region; }
    // Whether the stroke of segment i of the points (i to i + 1) may reach the
    // region; a quick test on each column's extent, which errs towards yes.
    bool reaches(const std::vector<GraphPoint>& points, size_t i) const;

private:
    QRegion m_region;
    int m_left = 0;
    std::vector<int> m_top;  // per column from m_left; empty columns have top > bottom
    std::vector<int> m_bottom;
};
