#include "controls/response_graph_damage.h"

#include <algorithm>
#include <cmath>

namespace {

using Points = std::vector<GraphPoint>;

// The box of one segment, on a closed spline with its control points, which
// may stand beyond the segment's ends.
QRectF segmentBox(const Points& p, long i, bool closed) {
    long n = long(p.size());
    auto at = [&](long k) {
        GraphPoint g = p[size_t((k % n + n) % n)];
        return QPointF(g.x, g.y);
    };
    QPointF a = at(i), b = at(i + 1);
    QRectF box = QRectF(a, b).normalized();
    if (!closed) return box;
    double t = ResponseGraphDamage::kTension / 3;
    QPointF c1 = a + (b - at(i - 1)) * t, c2 = b - (at(i + 2) - a) * t;
    return box | QRectF(c1, c2).normalized();
}

// Boxes around every segment whose stroke (and on a closed spline, fill) may
// differ between the two lists: those next to a changed point, as far as the
// spline looks (two points). Neighbouring boxes are merged into short runs.
void addChanged(const Points& a, const Points& b, bool closed, QRegion& region) {
    if (a == b) return;
    size_t shorter = std::min(a.size(), b.size());
    size_t prefix = 0;
    while (prefix < shorter && a[prefix] == b[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < shorter - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    constexpr int kRun = 16;
    const int m = ResponseGraphDamage::kStrokeMargin;
    for (const Points* p : {&a, &b}) {
        long n = long(p->size());
        long first = long(prefix) - 2, last = n - long(suffix);
        if (!closed) {
            first = std::max(first, 0L);
            last = std::min(last, n - 2);
        }
        if (n < 2 || first > last) continue;
        if (closed && last - first >= n) last = first + n - 1;
        QRectF run;
        for (long i = first; i <= last; ++i) {
            run = run.isNull() ? segmentBox(*p, i, closed) : run | segmentBox(*p, i, closed);
            if ((i - first) % kRun == kRun - 1 || i == last) {
                region += run.toAlignedRect().adjusted(-m, -m, m, m);
                run = QRectF();
            }
        }
    }
}

}  // namespace

QRegion ResponseGraphDamage::between(const Scene& before, const Scene& now, const QRect& plot) {
    QRegion strokes;
    addChanged(before.curve, now.curve, false, strokes);
    addChanged(before.outline, now.outline, true, strokes);
    QRegion region = strokes & plot;
    for (const auto* pair : {&before, &now}) {
        const Scene& other = pair == &before ? now : before;
        for (const Piece& piece : pair->pieces) {
            if (std::find(other.pieces.begin(), other.pieces.end(), piece) == other.pieces.end())
                region += piece.rect;
        }
    }
    return region;
}

ResponseGraphDamage::ResponseGraphDamage(const QRegion& region) : m_region(region) {
    QRect bounds = region.boundingRect();
    m_left = bounds.left();
    m_top.assign(size_t(std::max(bounds.width(), 0)), bounds.bottom() + 1);
    m_bottom.assign(m_top.size(), bounds.top() - 1);
    for (const QRect& r : region) {
        for (int x = r.left(); x <= r.right(); ++x) {
            size_t c = size_t(x - m_left);
            m_top[c] = std::min(m_top[c], r.top());
            m_bottom[c] = std::max(m_bottom[c], r.bottom());
        }
    }
}

bool ResponseGraphDamage::reaches(const std::vector<GraphPoint>& points, size_t i) const {
    const int m = kStrokeMargin;
    const GraphPoint a = points[i], b = points[i + 1];
    int top = std::min(a.y, b.y) - m, bottom = std::max(a.y, b.y) + m;
    int first = std::max(std::min(a.x, b.x) - m - m_left, 0);
    int last = std::min(std::max(a.x, b.x) + m - m_left, int(m_top.size()) - 1);
    for (int c = first; c <= last; ++c) {
        if (m_top[size_t(c)] <= bottom && m_bottom[size_t(c)] >= top) return true;
    }
    return false;
}
