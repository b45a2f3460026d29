#include "resources/skin_painter.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace {

QPainterPath rounded(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

}  // namespace

void SkinPainter::panel(const QRectF& r, double radius, const QColor& top, const QColor& bottom,
                        const QColor& border) {
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    QRectF inner = r.adjusted(0.5, 0.5, -0.5, -0.5);
    m_p.setPen(QPen(border, 1));
    m_p.setBrush(fill);
    m_p.drawPath(rounded(inner, radius));
    m_p.setPen(QPen(QColor(255, 255, 255, 18), 1));
    m_p.setBrush(Qt::NoBrush);
    m_p.drawLine(QPointF(inner.left() + radius, inner.top() + 1),
                 QPointF(inner.right() - radius, inner.top() + 1));
}

void SkinPainter::well(const QRectF& r, double radius, const QColor& fill, const QColor& border) {
    QRectF inner = r.adjusted(0.5, 0.5, -0.5, -0.5);
    m_p.setPen(Qt::NoPen);
    m_p.setBrush(fill);
    m_p.drawPath(rounded(inner, radius));
    QLinearGradient shade(inner.topLeft(),
                          inner.topLeft() + QPointF(0, std::min(6.0, inner.height())));
    shade.setColorAt(0, QColor(0, 0, 0, 120));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    m_p.setBrush(shade);
    m_p.drawPath(rounded(inner, radius));
    m_p.setBrush(Qt::NoBrush);
    m_p.setPen(QPen(border, 1));
    m_p.drawPath(rounded(inner, radius));
}

void SkinPainter::key(const QRectF& r, double radius, const QColor& top, const QColor& bottom,
                      const QColor& border) {
    QRectF outer = r.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(outer.topLeft(), outer.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    m_p.setPen(QPen(withAlpha(border, 230), 1));
    m_p.setBrush(fill);
    m_p.drawPath(rounded(outer, radius));
    // Top bevel.
    QRectF bevel = outer.adjusted(1, 1, -1, -1);
    QLinearGradient shine(bevel.topLeft(), bevel.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 110));
    shine.setColorAt(0.12, QColor(255, 255, 255, 20));
    shine.setColorAt(0.5, QColor(255, 255, 255, 0));
    shine.setColorAt(1, QColor(0, 0, 0, 40));
    m_p.setPen(Qt::NoPen);
    m_p.setBrush(shine);
    m_p.drawPath(rounded(bevel, std::max(0.0, radius - 1)));
}

void SkinPainter::hover(const QRectF& r, double radius, const QColor& ring) {
    QRectF outer = r.adjusted(0.5, 0.5, -0.5, -0.5);
    m_p.setPen(QPen(withAlpha(ring, 200), 1));
    m_p.setBrush(QColor(255, 255, 255, 38));
    m_p.drawPath(rounded(outer, radius));
}

void SkinPainter::line(const QPointF& a, const QPointF& b, const QColor& colour, double width) {
    m_p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    m_p.drawLine(a, b);
}

void SkinPainter::fadedLine(double x0, double x1, double y, const QColor& colour, double width) {
    QLinearGradient g(QPointF(x0, y), QPointF(x1, y));
    g.setColorAt(0, withAlpha(colour, 0));
    g.setColorAt(0.2, colour);
    g.setColorAt(0.8, colour);
    g.setColorAt(1, withAlpha(colour, 0));
    m_p.setPen(QPen(QBrush(g), width));
    m_p.drawLine(QPointF(x0, y), QPointF(x1, y));
}
