#include "pages/page_layout.h"

#include <algorithm>

QRect PageLayout::scaled(const Place& p, double sx, double sy) {
    double s = std::min(sx, sy);
    return QRect(static_cast<int>(p.x * sx), static_cast<int>(p.y * sy),
                 static_cast<int>(p.width * s), static_cast<int>(p.height * s));
}

QRect PageLayout::scaledEdges(const Place& p, double sx, double sy) {
    return QRect(QPoint(static_cast<int>(p.x * sx), static_cast<int>(p.y * sy)),
                 QPoint(static_cast<int>(p.width * sx) - 1, static_cast<int>(p.height * sy) - 1));
}
