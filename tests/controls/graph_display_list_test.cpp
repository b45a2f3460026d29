#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "controls/graph_display_list.h"

namespace {

using Tile = std::pair<int, int>;  // column, row; tiles are 32 device pixels

struct Pattern {
    qreal ratio;
    std::set<Tile> marked;
};

// Marks exactly the given tiles: a rectangle a device pixel inside each.
GraphDisplayList::Tiles marking(QSize device, const Pattern& pattern) {
    GraphDisplayList::Tiles tiles(device, pattern.ratio);
    for (const Tile& t : pattern.marked)
        tiles.mark(QRectF(QPointF(t.first * 32 + 4, t.second * 32 + 4) / pattern.ratio,
                          QSizeF(24, 24) / pattern.ratio));
    return tiles;
}

}  // namespace

// A fill drawn band by band must reach every device pixel of a marked tile
// once: missed ones keep the grid, twice drawn ones are too dark.
TEST(GraphDisplayListTiles, BandsCoverEveryMarkedDevicePixelOnce) {
    const QSize device(200, 170);
    const Pattern patterns[] = {
        {1, {{0, 0}}},
        {1.25, {{1, 1}, {1, 2}}},
        {1.5, {{0, 0}, {2, 0}, {1, 1}, {1, 3}}},
        {1.75, {{3, 2}, {3, 3}, {3, 4}}},
        {2, {{6, 5}, {0, 5}}},
        {3, {{1, 0}, {1, 1}, {4, 3}}},
    };
    for (const Pattern& p : patterns) {
        GraphDisplayList::Tiles tiles = marking(device, p);
        const std::vector<QRect> bands = tiles.bands();
        for (const Tile& t : p.marked) {
            for (int y = t.second * 32; y < std::min(device.height(), t.second * 32 + 32); ++y) {
                for (int x = t.first * 32; x < std::min(device.width(), t.first * 32 + 32); ++x) {
                    const QPointF centre = QPointF(x + 0.5, y + 0.5) / p.ratio;
                    int within = 0;
                    for (const QRect& b : bands)
                        within += centre.x() >= b.left() && centre.x() < b.left() + b.width() &&
                                  centre.y() >= b.top() && centre.y() < b.top() + b.height();
                    ASSERT_EQ(within, 1) << "ratio " << p.ratio << " device " << x << "," << y;
                }
            }
        }
    }
}
