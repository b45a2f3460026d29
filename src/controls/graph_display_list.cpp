#include "controls/graph_display_list.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kTile = 32;     // device pixels
constexpr int kColumns = 32;  // logical pixels

uint64_t mixed(uint64_t seed, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return (seed ^ bits) * 0x100000001B3ull + (seed >> 29);
}

// Long slanted segments go in short pieces along the same line: the
// antialiasing rasteriser handles those many times faster, and the blender
// hands a piece of over about a hundred spans to helper threads, which costs
// more than it saves here. A level line makes one span a row and needs no
// pieces; an upright one makes one to three, so its pieces can be longer.
int piecesOf(GraphPoint from, GraphPoint to) {
    constexpr double kSlanted = 12;
    constexpr int kUpright = 24;
    const int dx = to.x - from.x, dy = to.y - from.y;
    if (dy == 0) return 1;
    if (dx == 0) return std::abs(dy) / kUpright + 1;
    return int(std::sqrt(double(dx * dx + dy * dy)) / kSlanted) + 1;
}

// b lies on the way from a to c, and a and c share a column block.
bool straight(GraphPoint a, GraphPoint b, GraphPoint c) {
    const int ux = b.x - a.x, uy = b.y - a.y, vx = c.x - b.x, vy = c.y - b.y;
    return ux * vy == uy * vx && ux * vx + uy * vy > 0 && a.x / kColumns == c.x / kColumns;
}

}  // namespace

GraphDisplayList::Tiles::Tiles(QSize device, qreal ratio) : m_ratio(ratio), m_device(device) {
    m_columns = std::max(1, (device.width() + kTile - 1) / kTile);
    m_rows = std::max(1, (device.height() + kTile - 1) / kTile);
    m_marked.assign(size_t(m_columns * m_rows), 0);
}

void GraphDisplayList::Tiles::markAll() {
    std::fill(m_marked.begin(), m_marked.end(), 1);
}

// Antialiased edges and smoothly scaled sprites reach a pixel beyond the bounds.
// Called for every changed segment of every curve, so no calls into libm here.
GraphDisplayList::Tiles::Span GraphDisplayList::Tiles::pixels(double from, double to,
                                                              int size) const {
    const double low = std::clamp(from * m_ratio, -4.0, double(size));
    const double high = std::clamp(to * m_ratio, -4.0, double(size));
    int first = int(low + 4) - 4;  // floor, as low is above -5
    int last = int(high + 4) - 4;
    if (last + 4 < high + 4) ++last;  // ceil
    first = std::max(0, first - 2);
    last = std::min(size - 1, last + 1);
    return {first / kTile, last < first ? -1 : last / kTile};
}

void GraphDisplayList::Tiles::mark(const QRectF& logical) {
    const Span across = pixels(logical.left(), logical.right(), m_device.width());
    const Span down = pixels(logical.top(), logical.bottom(), m_device.height());
    for (int ty = down.first; ty <= down.last; ++ty)
        for (int tx = across.first; tx <= across.last; ++tx)
            m_marked[size_t(ty * m_columns + tx)] = 1;
}

bool GraphDisplayList::Tiles::touches(const QRectF& logical) const {
    const Span across = pixels(logical.left(), logical.right(), m_device.width());
    const Span down = pixels(logical.top(), logical.bottom(), m_device.height());
    for (int ty = down.first; ty <= down.last; ++ty)
        for (int tx = across.first; tx <= across.last; ++tx)
            if (m_marked[size_t(ty * m_columns + tx)]) return true;
    return false;
}

// In whole logical pixels, which cannot follow tile edges at every ratio: a
// device row may lie in the band of the row next to its own. So neighbouring
// rows with marked tiles share their bands' left and right, and each band ends
// where the next begins; the first begins at or above its first device row and
// the last ends at or below its last.
std::vector<QRect> GraphDisplayList::Tiles::bands() const {
    auto logical = [this](int tiles, bool up) {
        const double at = tiles * kTile / m_ratio;
        return int(up ? std::ceil(at) : std::floor(at));
    };
    // A whole picture is drawn at once, for the time it takes rather than the work.
    if (std::find(m_marked.begin(), m_marked.end(), 0) == m_marked.end())
        return {QRect(0, 0, logical(m_columns, true), logical(m_rows, true))};
    std::vector<QRect> bands;
    for (int ty = 0; ty < m_rows;) {
        int first = m_columns, last = -1, end = ty;
        for (; end < m_rows; ++end) {
            const char* row = m_marked.data() + size_t(end * m_columns);
            const char* mark = std::find(row, row + m_columns, 1);
            if (mark == row + m_columns) break;
            first = std::min(first, int(mark - row));
            int marked = m_columns - 1;
            while (!row[marked]) --marked;
            last = std::max(last, marked);
        }
        if (end == ty) {
            ++ty;
            continue;
        }
        const int left = logical(first, false), right = logical(last + 1, true);
        for (int row = ty; row < end; ++row) {
            const int top = logical(row, false), bottom = logical(row + 1, row + 1 == end);
            if (bottom > top) bands.emplace_back(left, top, right - left, bottom - top);
        }
        ty = end;
    }
    return bands;
}

bool GraphDisplayList::Tiles::any() const {
    return std::find(m_marked.begin(), m_marked.end(), 1) != m_marked.end();
}

// Both pictures have the device size and four bytes a pixel.
void GraphDisplayList::Tiles::copy(QImage& to, const QImage& from) const {
    for (int ty = 0; ty < m_rows; ++ty) {
        for (int tx = 0; tx < m_columns; ++tx) {
            if (!m_marked[size_t(ty * m_columns + tx)]) continue;
            int end = tx;
            while (end + 1 < m_columns && m_marked[size_t(ty * m_columns + end + 1)]) ++end;
            const int x0 = tx * kTile, x1 = std::min(m_device.width(), (end + 1) * kTile);
            const int y1 = std::min(m_device.height(), (ty + 1) * kTile);
            for (int y = ty * kTile; y < y1; ++y)
                std::memcpy(to.scanLine(y) + x0 * 4, from.constScanLine(y) + x0 * 4,
                            size_t(x1 - x0) * 4);
            tx = end;
        }
    }
}

std::vector<GraphPoint> GraphDisplayList::steadyPoints(const std::vector<GraphPoint>& points) {
    std::vector<GraphPoint> steady;
    steady.reserve(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        if (i > 0 && points[i].y == points[i - 1].y && points[i].x > points[i - 1].x) {
            for (int x = (points[i - 1].x / kColumns + 1) * kColumns; x < points[i].x;
                 x += kColumns)
                steady.push_back({x, points[i].y});
        }
        steady.push_back(points[i]);
    }
    return steady;
}

GraphDisplayList::Op GraphDisplayList::start(Kind kind, QColor colour, qreal width) const {
    Op op;
    op.kind = kind;
    op.clip = m_clip;
    op.colour = colour;
    op.width = width;
    return op;
}

void GraphDisplayList::lines(const std::vector<GraphPoint>& points, QColor colour, qreal width,
                             Qt::PenStyle style) {
    Op op = start(Kind::Lines, colour, width);
    op.style = style;
    op.first = m_segments.size();
    // Points along one straight line make one segment, within a column block
    // so that a change elsewhere leaves it alike.
    size_t from = 0;
    for (size_t i = 1; i < points.size(); ++i) {
        if (i + 1 < points.size() && straight(points[from], points[i], points[i + 1])) continue;
        m_segments.push_back({points[from], points[i]});
        from = i;
    }
    op.count = m_segments.size() - op.first;
    m_ops.push_back(std::move(op));
}

void GraphDisplayList::fillPath(const QPainterPath& path, QColor colour) {
    Op op = start(Kind::Fill, colour);
    op.path = path;
    op.first = m_pieces.size();
    // A Bezier curve lies within its control points.
    QPointF from;
    for (int k = 0; k < path.elementCount(); ++k) {
        QPainterPath::Element e = path.elementAt(k);
        if (e.type == QPainterPath::MoveToElement) {
            from = e;
            continue;
        }
        QPointF points[4] = {from, e};
        int count = 2;
        if (e.type == QPainterPath::CurveToElement) {
            for (int c = 1; c <= 2 && k + 1 < path.elementCount(); ++c)
                points[count++] = path.elementAt(++k);
        }
        uint64_t key = 0xCBF29CE484222325ull;
        // Corners by hand: a rectangle of no size is null to QRectF and a union skips it.
        QPointF low = points[0], high = points[0];
        for (int i = 0; i < count; ++i) {
            key = mixed(mixed(key, points[i].x()), points[i].y());
            low = {std::min(low.x(), points[i].x()), std::min(low.y(), points[i].y())};
            high = {std::max(high.x(), points[i].x()), std::max(high.y(), points[i].y())};
        }
        m_pieces.push_back({key, QRectF(low, high).adjusted(-1, -1, 1, 1)});
        from = points[count - 1];
    }
    op.count = m_pieces.size() - op.first;
    op.bounds = path.controlPointRect().adjusted(-1, -1, 1, 1);
    m_ops.push_back(std::move(op));
}

void GraphDisplayList::sprite(const QImage& sheet, QPoint at, QRect source, qreal scale) {
    Op op = start(Kind::Sprite);
    op.sheet = sheet;
    op.at = at;
    op.source = source;
    op.scale = scale;
    op.bounds = QRectF(QPointF(at), QSizeF(source.size()) * scale).adjusted(-1, -1, 1, 1);
    m_ops.push_back(std::move(op));
}

void GraphDisplayList::text(const QRect& box, const QFont& font, QColor colour, const QString& text,
                            int flags) {
    Op op = start(Kind::Text, colour);
    op.source = box;
    op.font = font;
    op.text = text;
    op.flags = flags;
    QRect used = QFontMetrics(font).boundingRect(box, flags, text);
    op.bounds = QRectF(box.united(used)).adjusted(-4, -4, 4, 4);
    m_ops.push_back(std::move(op));
}

void GraphDisplayList::box(const QRect& rect, QColor colour, bool filled) {
    Op op = start(Kind::Box, colour);
    op.source = rect;
    op.flags = filled ? 1 : 0;
    op.bounds = QRectF(rect).adjusted(-2, -2, 2, 2);
    m_ops.push_back(std::move(op));
}

void GraphDisplayList::fillRect(const QRect& rect, QColor colour) {
    Op op = start(Kind::Rect, colour);
    op.source = rect;
    op.bounds = QRectF(rect).adjusted(-1, -1, 1, 1);
    m_ops.push_back(std::move(op));
}

bool GraphDisplayList::sameShape(const Op& a, const Op& b) const {
    return a.kind == b.kind && a.clip == b.clip && a.colour == b.colour && a.width == b.width &&
           a.style == b.style;
}

bool GraphDisplayList::sameContent(const Op& a, const Op& b) const {
    switch (a.kind) {
        case Kind::Fill:
            return a.path == b.path;
        case Kind::Sprite:
            return a.sheet.cacheKey() == b.sheet.cacheKey() && a.at == b.at &&
                   a.source == b.source && a.scale == b.scale;
        case Kind::Text:
            return a.source == b.source && a.font == b.font && a.text == b.text &&
                   a.flags == b.flags;
        case Kind::Rect:
            return a.source == b.source;
        case Kind::Box:
            return a.source == b.source && a.flags == b.flags;
        case Kind::Lines:
            break;
    }
    return false;
}

QRectF GraphDisplayList::segmentBounds(const Op& op, const Segment& s) const {
    const qreal reach = op.width / 2 + 1;
    return QRectF(QPointF(s.from.x, s.from.y), QPointF(s.to.x, s.to.y))
        .normalized()
        .adjusted(-reach, -reach, reach, reach);
}

// Runs of the two lists that differ, between their common start and end.
template <typename T, typename Same>
static void changedRuns(const T* mine, size_t mineCount, const T* theirs, size_t theirCount,
                        Same same, size_t& head, size_t& mineEnd, size_t& theirEnd) {
    head = 0;
    while (head < mineCount && head < theirCount && same(mine[head], theirs[head])) ++head;
    mineEnd = mineCount;
    theirEnd = theirCount;
    while (mineEnd > head && theirEnd > head && same(mine[mineEnd - 1], theirs[theirEnd - 1])) {
        --mineEnd;
        --theirEnd;
    }
}

// Where a run of pieces changed, the area between old and new runs changes too;
// it lies within the bounds of both runs together.
void GraphDisplayList::markPieceDifferences(const Op& mine, const GraphDisplayList& shown,
                                            const Op& theirs, Tiles& tiles) const {
    const Piece* a = m_pieces.data() + mine.first;
    const Piece* b = shown.m_pieces.data() + theirs.first;
    size_t head, mineEnd, theirEnd;
    changedRuns(
        a, mine.count, b, theirs.count,
        [](const Piece& x, const Piece& y) { return x.key == y.key; }, head, mineEnd, theirEnd);
    QRectF changed;
    for (size_t k = head; k < mineEnd; ++k) changed |= a[k].bounds;
    for (size_t k = head; k < theirEnd; ++k) changed |= b[k].bounds;
    if (!changed.isNull()) tiles.mark(changed);
}

void GraphDisplayList::markSegmentDifferences(const Op& mine, const GraphDisplayList& shown,
                                              const Op& theirs, Tiles& tiles) const {
    const Segment* a = m_segments.data() + mine.first;
    const Segment* b = shown.m_segments.data() + theirs.first;
    size_t head, mineEnd, theirEnd;
    changedRuns(
        a, mine.count, b, theirs.count,
        [](const Segment& x, const Segment& y) { return x.from == y.from && x.to == y.to; }, head,
        mineEnd, theirEnd);
    for (size_t k = head; k < mineEnd; ++k) tiles.mark(segmentBounds(mine, a[k]));
    for (size_t k = head; k < theirEnd; ++k) tiles.mark(segmentBounds(theirs, b[k]));
}

void GraphDisplayList::markDifferences(const GraphDisplayList& shown, Tiles& tiles) const {
    if (m_ops.size() != shown.m_ops.size()) {
        tiles.markAll();
        return;
    }
    for (size_t k = 0; k < m_ops.size(); ++k) {
        const Op &mine = m_ops[k], &theirs = shown.m_ops[k];
        if (!sameShape(mine, theirs)) {
            tiles.markAll();
            return;
        }
        if (mine.kind == Kind::Lines) {
            markSegmentDifferences(mine, shown, theirs, tiles);
        } else if (mine.kind == Kind::Fill) {
            markPieceDifferences(mine, shown, theirs, tiles);
        } else if (!sameContent(mine, theirs)) {
            tiles.mark(mine.bounds);
            tiles.mark(theirs.bounds);
        }
    }
}

void GraphDisplayList::replay(QPainter& p, const Tiles& tiles) const {
    QRect clip;
    for (const Op& op : m_ops) {
        if (op.clip != clip) {
            clip = op.clip;
            if (clip.isNull()) {
                p.setClipping(false);
            } else {
                p.setClipRect(clip);
            }
        }
        drawOp(p, op, tiles);
    }
    p.setClipping(false);
}

void GraphDisplayList::drawOp(QPainter& p, const Op& op, const Tiles& tiles) const {
    if (op.kind == Kind::Lines) {
        // Straight segments drawn one by one: for curves with a point in every
        // column this is far cheaper than one long stroked polyline, and looks the
        // same.
        std::vector<QLineF> lines;
        lines.reserve(op.count);
        for (size_t k = 0; k < op.count; ++k) {
            const Segment& s = m_segments[op.first + k];
            if (!tiles.touches(segmentBounds(op, s))) continue;
            const int pieces = piecesOf(s.from, s.to);
            if (pieces == 1) {
                lines.emplace_back(s.from.x, s.from.y, s.to.x, s.to.y);
                continue;
            }
            QLineF line(s.from.x, s.from.y, s.to.x, s.to.y);
            for (int i = 0; i < pieces; ++i)
                lines.emplace_back(line.pointAt(double(i) / pieces),
                                   line.pointAt(double(i + 1) / pieces));
        }
        if (lines.empty()) return;
        p.setPen(QPen(op.colour, op.width, op.style, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawLines(lines.data(), int(lines.size()));
        return;
    }
    if (!tiles.touches(op.bounds)) return;
    switch (op.kind) {
        case Kind::Fill: {
            // The faint fill needs no antialiasing: its edge lies under the stroke.
            p.save();
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(Qt::NoPen);
            p.setBrush(op.colour);
            // A row of tiles at a time: a large fill in one go goes to helper
            // threads, which costs more than it saves here. Without antialiasing
            // a clip leaves every pixel within it alike.
            const QRect filled = op.bounds.toAlignedRect();
            for (const QRect& band : tiles.bands()) {
                if (!band.intersects(filled)) continue;
                p.save();
                p.setClipRect(band, Qt::IntersectClip);
                p.drawPath(op.path);
                p.restore();
            }
            p.restore();
            break;
        }
        case Kind::Sprite: {
            // The source is in logical pixels; the sheet may hold more per pixel.
            qreal r = op.sheet.devicePixelRatio();
            p.drawImage(QRectF(QPointF(op.at), QSizeF(op.source.size()) * op.scale), op.sheet,
                        QRectF(QPointF(op.source.topLeft()) * r, QSizeF(op.source.size()) * r));
            break;
        }
        case Kind::Text:
            p.setFont(op.font);
            p.setPen(op.colour);
            p.drawText(op.source, op.flags, op.text);
            break;
        case Kind::Box:
            p.setPen(op.colour);
            p.setBrush(op.flags ? QBrush(op.colour) : QBrush(Qt::NoBrush));
            p.drawRect(op.source);
            p.setBrush(Qt::NoBrush);
            break;
        case Kind::Rect:
            p.fillRect(op.source, op.colour);
            break;
        case Kind::Lines:
            break;
    }
}
