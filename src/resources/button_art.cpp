#include "resources/button_art.h"

#include <QPainterPath>

#include "resources/skin_layout.h"
#include "resources/skin_painter.h"
#include "resources/skin_palette.h"

using namespace SkinPalette;

namespace {

struct KeyStyle {
    QColor offTop, offBottom, offBorder;
    QColor onTop, onBottom, onBorder;
    QColor ring;
    double radius;
};

const KeyStyle kLightKey{keyTop,     keyBottom,  keyBorder, accentLight,
                         accentDeep, accentEdge, accent,    4};
const KeyStyle kNavKey{keyTop,     keyBottom,  keyBorder, accentLight,
                       accentDeep, accentEdge, accent,    5};
const KeyStyle kAmberKey{keyTop,
                         keyBottom,
                         keyBorder,
                         amberTop,
                         amberBottom,
                         QColor(0x6b, 0x45, 0x0c),
                         QColor(0xff, 0xc8, 0x60),
                         4};
const KeyStyle kStatusKey{amberTop,
                          amberBottom,
                          QColor(0x5c, 0x3c, 0x0a),
                          greenTop,
                          greenBottom,
                          QColor(0x0b, 0x45, 0x26),
                          QColor(255, 255, 255),
                          5};
const KeyStyle kDarkKey{darkKeyTop, darkKeyBottom, keyBorder, accentLight,
                        accent,     accentEdge,    accent,    4};

QRectF frameRect(QSize frame, int index) {
    return QRectF(frame.width() * index, 0, frame.width(), frame.height());
}

// Frames 0 off, 1 on, 2 hover overlay, 3 pressed.
void keyStrip(QPainter& p, QSize frame, const KeyStyle& s) {
    SkinPainter sp(p);
    QRectF off = frameRect(frame, 0).adjusted(0.5, 0.5, -0.5, -0.5);
    sp.key(off, s.radius, s.offTop, s.offBottom, s.offBorder);
    sp.key(frameRect(frame, 1).adjusted(0.5, 0.5, -0.5, -0.5), s.radius, s.onTop, s.onBottom,
           s.onBorder);
    sp.hover(frameRect(frame, 2).adjusted(0.5, 0.5, -0.5, -0.5), s.radius, s.ring);
    QRectF pressed = frameRect(frame, 3).adjusted(0.5, 0.5, -0.5, -0.5);
    sp.key(pressed, s.radius, s.offBottom, s.offTop.darker(115), s.offBorder);
}

enum class Glyph { Close, Maximise, Minimise };

void drawGlyph(QPainter& p, const QRectF& frame, Glyph glyph, const QColor& colour) {
    QPointF c = frame.center();
    double h = 4.5;
    QPen pen(colour, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
        case Glyph::Close:
            p.drawLine(c + QPointF(-h, -h), c + QPointF(h, h));
            p.drawLine(c + QPointF(-h, h), c + QPointF(h, -h));
            break;
        case Glyph::Maximise:
            p.drawRoundedRect(QRectF(c.x() - h, c.y() - h, 2 * h, 2 * h), 1.2, 1.2);
            break;
        case Glyph::Minimise:
            p.drawLine(c + QPointF(-h, h * 0.6), c + QPointF(h, h * 0.6));
            break;
    }
}

// Window buttons sit flat on the caption band; only the glyph shows until
// the pointer comes near. The hover overlay brings its own brighter glyph.
void titleStrip(QPainter& p, Glyph glyph) {
    QSize f = SkinLayout::kTitleButtonFrame;
    auto frame = [&](int i) { return frameRect(f, i); };
    drawGlyph(p, frame(0), glyph, SkinPalette::glyph);
    drawGlyph(p, frame(1), glyph, accentLight);
    QRectF hover = frame(2).adjusted(1, 1, -1, -1);
    p.setPen(Qt::NoPen);
    p.setBrush(glyph == Glyph::Close ? red : QColor(255, 255, 255, 34));
    p.drawRoundedRect(hover, 3, 3);
    drawGlyph(p, frame(2), glyph, QColor(255, 255, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(glyph == Glyph::Close ? red.darker(125) : QColor(0, 0, 0, 70));
    p.drawRoundedRect(frame(3).adjusted(1, 1, -1, -1), 3, 3);
    drawGlyph(p, frame(3), glyph, QColor(255, 255, 255, 220));
}

void chevron(QPainter& p, const QPointF& c, double size, const QColor& colour) {
    QPainterPath path;
    path.moveTo(c + QPointF(-size, -size * 0.45));
    path.lineTo(c + QPointF(0, size * 0.55));
    path.lineTo(c + QPointF(size, -size * 0.45));
    p.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

// A combo face: a field with a drop-down arrow right of the text rectangle,
// frame 1 with the focus ring.
void comboStrip(QPainter& p, QSize f, double arrowLeft, const QColor& top, const QColor& bottom,
                const QColor& border, const QColor& arrow) {
    SkinPainter sp(p);
    for (int i = 0; i < 2; ++i) {
        QRectF r = frameRect(f, i).adjusted(0.5, 0.5, -0.5, -0.5);
        sp.panel(r, 3, top, bottom, i == 0 ? border : accent);
        if (i == 1) {
            p.setPen(QPen(QColor(accent.red(), accent.green(), accent.blue(), 90), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 2, 2);
        }
        double x = r.left() + arrowLeft;
        p.setPen(QPen(QColor(0, 0, 0, 60), 1));
        p.drawLine(QPointF(x, r.top() + 3), QPointF(x, r.bottom() - 3));
        p.setPen(QPen(QColor(255, 255, 255, 40), 1));
        p.drawLine(QPointF(x + 1, r.top() + 3), QPointF(x + 1, r.bottom() - 3));
        chevron(p, QPointF((x + r.right()) / 2 + 0.5, r.center().y()), 3.2, arrow);
    }
}

}  // namespace

void ButtonArt::closeButton(QPainter& p) {
    titleStrip(p, Glyph::Close);
}
void ButtonArt::maximiseButton(QPainter& p) {
    titleStrip(p, Glyph::Maximise);
}
void ButtonArt::minimiseButton(QPainter& p) {
    titleStrip(p, Glyph::Minimise);
}
void ButtonArt::navigationButton(QPainter& p) {
    keyStrip(p, SkinLayout::kNavigationFrame, kNavKey);
}
void ButtonArt::button(QPainter& p) {
    keyStrip(p, SkinLayout::kButtonFrame, kLightKey);
}
void ButtonArt::wideButton(QPainter& p) {
    keyStrip(p, SkinLayout::kWideButtonFrame, kLightKey);
}
void ButtonArt::amberButton(QPainter& p) {
    keyStrip(p, SkinLayout::kButtonFrame, kAmberKey);
}
void ButtonArt::statusButton(QPainter& p) {
    keyStrip(p, SkinLayout::kStatusButtonFrame, kStatusKey);
}
void ButtonArt::darkButton(QPainter& p) {
    keyStrip(p, SkinLayout::kDarkButtonFrame, kDarkKey);
}

void ButtonArt::pageCombo(QPainter& p) {
    comboStrip(p, SkinLayout::kPageComboFrame, 151, fieldLightTop, fieldLightBottom,
               QColor(0x4d, 0x54, 0x5e), QColor(0x2a, 0x2e, 0x35));
}

void ButtonArt::headerCombo(QPainter& p) {
    comboStrip(p, SkinLayout::kHeaderComboFrame, 80, fieldDarkTop, fieldDarkBottom,
               QColor(0x3d, 0x43, 0x4c), glyph);
}
