#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <vector>

#include "filter/graph_geometry.h"

class QPainter;

// What one picture of the response graph draws over its grid, kept so that the
// next picture redraws only where the two differ: a marker drag changes a small
// part of a large picture. Everything is in logical pixels.
class GraphDisplayList {
public:
    // Device pixels of the picture, in square tiles.
    class Tiles {
    public:
        Tiles(QSize device, qreal ratio);
        void markAll();
        void mark(const QRectF& logical);
        bool touches(const QRectF& logical) const;
        bool any() const;
        void copy(QImage& to, const QImage& from) const;
        // Each row of tiles with a marked one, from its first to its last marked.
        std::vector<QRect> bands() const;

    private:
        struct Span {
            int first;
            int last;
        };
        Span pixels(double from, double to, int size) const;
        int m_columns;
        int m_rows;
        qreal m_ratio;
        QSize m_device;
        std::vector<char> m_marked;
    };

    // Flat runs split at fixed columns, so that when one end of a run moves the
    // rest of it is still drawn alike and needs no redrawing. Draws the same line.
    static std::vector<GraphPoint> steadyPoints(const std::vector<GraphPoint>& points);

    void setClip(const QRect& clip) { m_clip = clip; }
    void lines(const std::vector<GraphPoint>& points, QColor colour, qreal width,
               Qt::PenStyle style = Qt::SolidLine);
    void fillPath(const QPainterPath& path, QColor colour);
    // The source in the sheet's logical pixels, drawn `scale` times as large.
    void sprite(const QImage& sheet, QPoint at, QRect source, qreal scale = 1);
    void text(const QRect& box, const QFont& font, QColor colour, const QString& text,
              int flags = Qt::AlignCenter);
    // A square outline, filled or not.
    void box(const QRect& rect, QColor colour, bool filled);
    void fillRect(const QRect& rect, QColor colour);

    // Marks where this list and the one shown before differ.
    void markDifferences(const GraphDisplayList& shown, Tiles& tiles) const;
    // Draws everything that touches the marked tiles, whole: a clip at a tile's
    // edge would shade the pixels along it differently. Only the marked tiles of
    // the result are to be used.
    void replay(QPainter& p, const Tiles& tiles) const;

private:
    enum class Kind { Lines, Fill, Sprite, Text, Rect, Box };
    struct Segment {
        GraphPoint from;
        GraphPoint to;
    };
    // One curve or line of a filled path, by its control points.
    struct Piece {
        uint64_t key;
        QRectF bounds;
    };
    struct Op {
        Kind kind = Kind::Lines;
        QRect clip;
        QColor colour;
        qreal width = 0;
        Qt::PenStyle style = Qt::SolidLine;
        int flags = 0;     // of a Text; 1 for a filled Box
        size_t first = 0;  // segments of a Lines op, pieces of a Fill
        size_t count = 0;
        QPainterPath path;
        QImage sheet;
        QPoint at;
        QRect source;
        qreal scale = 1;  // sprites: drawn this many times the source size
        QFont font;
        QString text;
        QRectF bounds;
    };

    Op start(Kind kind, QColor colour = {}, qreal width = 0) const;
    bool sameShape(const Op& a, const Op& b) const;
    bool sameContent(const Op& a, const Op& b) const;
    void markPieceDifferences(const Op& mine, const GraphDisplayList& shown, const Op& theirs,
                              Tiles& tiles) const;
    void markSegmentDifferences(const Op& mine, const GraphDisplayList& shown, const Op& theirs,
                                Tiles& tiles) const;
    QRectF segmentBounds(const Op& op, const Segment& s) const;
    void drawOp(QPainter& p, const Op& op, const Tiles& tiles) const;

    QRect m_clip;
    std::vector<Op> m_ops;
    std::vector<Segment> m_segments;
    std::vector<Piece> m_pieces;
};
