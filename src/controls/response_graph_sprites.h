#pragma once

#include <QImage>

// The response graph's pre-drawn pictures: a row of six 24 x 24 marker cells
// per slot (cell 0 at rest, cells 1 ... 5 the pulse of the selected marker),
// the Q-handle arrows (two columns, row 1 while dragged) and the "EQ PASS"
// banner.
class ResponseGraphSprites {
public:
    static constexpr int kCell = 24;
    static constexpr int kCells = 6;

    static QImage markers(int slotCount);
    static QImage qHandles();
    static QImage banner();
};
