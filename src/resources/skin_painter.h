#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

// Drawing primitives shared by the skin's pictures. All take design units;
// the caller's painter carries the scale.
class SkinPainter {
public:
    explicit SkinPainter(QPainter& painter) : m_p(painter) {}

    QPainter& painter() { return m_p; }

    // A raised panel: vertical gradient, a one-unit border, a faint top highlight.
    void panel(const QRectF& r, double radius, const QColor& top, const QColor& bottom,
               const QColor& border);
    // A recessed well with an inner shadow along its top.
    void well(const QRectF& r, double radius, const QColor& fill = QColor(0x0c, 0x0d, 0x10),
              const QColor& border = QColor(0x2a, 0x2e, 0x35));
    // A key face with a glossy upper half.
    void key(const QRectF& r, double radius, const QColor& top, const QColor& bottom,
             const QColor& border);
    // A translucent hover overlay for key frames.
    void hover(const QRectF& r, double radius, const QColor& ring);
    void line(const QPointF& a, const QPointF& b, const QColor& colour, double width);
    // A horizontal line fading out at both ends.
    void fadedLine(double x0, double x1, double y, const QColor& colour, double width);

private:
    QPainter& m_p;
};
