#pragma once

#include <QImage>

// The response graph's pre-drawn pictures: a row of six 24 x 24 marker cells
// per slot (cell 0 at rest, cells 1 ... 5 the pulse of the selected marker),
// the Q-handle arrows (two columns, row 1 while dragged) and the "EQ PASS"
// banner. A ratio above 1 draws them with that many device pixels per pixel.
class ResponseGraphSprites {
public:
    static constexpr int kCell = 24;
    static constexpr int kCells = 6;

    static QImage markers(int slotCount, qreal ratio = 1.0);
    static QImage qHandles(qreal ratio = 1.0);
    static QImage banner(qreal ratio = 1.0);
};
