#include "resources/window_art.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "resources/skin_painter.h"
#include "resources/skin_palette.h"

using namespace SkinPalette;

namespace {

void chassis(QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, chassisTop);
    g.setColorAt(1, chassisBottom);
    p.fillRect(r, g);
}

// A window's chassis with its caption band, the window's grip, across the top.
void windowWithCaption(QPainter& p, double width, double height, double captionHeight) {
    SkinPainter sp(p);
    chassis(p, QRectF(0, 0, width, height));
    QLinearGradient band(0, 0, 0, captionHeight);
    band.setColorAt(0, bandTop);
    band.setColorAt(1, bandBottom);
    p.fillRect(QRectF(0, 0, width, captionHeight), band);
    sp.fadedLine(0, width, 0.75, accent, 1.5);
    sp.line(QPointF(0, captionHeight + 0.5), QPointF(width, captionHeight + 0.5), edge, 1);
}

// The product mark: a rounded square with three rising level bars.
void mark(QPainter& p, const QRectF& r) {
    SkinPainter sp(p);
    sp.key(r, r.width() * 0.22, accentLight, accentDeep, accentEdge);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    double w = r.width() / 7;
    for (int i = 0; i < 3; ++i) {
        double h = r.height() * (0.3 + 0.2 * i);
        QRectF bar(r.left() + w * (1 + 2 * i), r.bottom() - r.height() * 0.18 - h, w, h);
        p.drawRoundedRect(bar, w / 2, w / 2);
    }
}

void progressFace(QPainter& p) {
    SkinPainter sp(p);
    QRectF face(0, 0, 541, 161);
    sp.panel(face, 10, bandTop, chassisBottom, QColor(0x3a, 0x40, 0x4a));
    sp.fadedLine(12, 529, 1.5, accent, 1.5);
    mark(p, QRectF(27, 14, 18, 18));
    // Bar trough: the bar grows from x 27 to x 516.
    sp.well(QRectF(27, 46, 489, 28), 4);
    p.setPen(QPen(QColor(0x3a, 0x40, 0x4a), 1));
    for (int i = 0; i <= 10; ++i) {
        double x = 27 + 48.9 * i;
        p.drawLine(QPointF(x, 79), QPointF(x, i % 5 == 0 ? 85 : 82));
    }
}

}  // namespace

void WindowArt::programIcon(QPainter& p) {
    mark(p, QRectF(2, 2, 60, 60));
}

void WindowArt::mainWindow(QPainter& p) {
    SkinPainter sp(p);
    windowWithCaption(p, 1077, 681, 26);
    sp.line(QPointF(0, 27.5), QPointF(1077, 27.5), highlight, 1);
    mark(p, QRectF(16, 4, 18, 18));

    // Navigation rail and the status slot.
    sp.well(QRectF(9, 27.5, 856, 26), 6);
    sp.well(QRectF(990, 28, 86, 27), 6);

    // Header: master levels on the left, source and format on the right.
    sp.panel(QRectF(8, 57, 1062, 50), 6, panelTop, panelBottom, panelBorder);
    sp.line(QPointF(735.5, 63), QPointF(735.5, 101), edge, 1);
    sp.line(QPointF(736.5, 63), QPointF(736.5, 101), highlight, 1);
    sp.well(QRectF(18, 62, 698, 42), 5, QColor(0x15, 0x17, 0x1b));
    for (int k = 1; k < 4; ++k) {
        double x = 25.5 + 171 * k;
        sp.line(QPointF(x, 67), QPointF(x, 99), edge, 1);
        sp.line(QPointF(x + 1, 67), QPointF(x + 1, 99), highlight, 1);
    }

    // Page area.
    sp.panel(QRectF(6, 111, 1065, 564), 8, QColor(0x1d, 0x20, 0x25), QColor(0x15, 0x17, 0x1b),
             panelBorder);
    // A faint wash of the accent from the top edge of the page area.
    QLinearGradient wash(QPointF(0, 112), QPointF(0, 330));
    wash.setColorAt(0, QColor(accent.red(), accent.green(), accent.blue(), 14));
    wash.setColorAt(1, QColor(accent.red(), accent.green(), accent.blue(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(wash);
    p.drawRoundedRect(QRectF(7, 112, 1063, 562), 8, 8);
    sp.fadedLine(60, 1017, 112.5, QColor(accent.red(), accent.green(), accent.blue(), 70), 1);
    sp.fadedLine(40, 1037, 675.5, QColor(255, 255, 255, 14), 1);
}

void WindowArt::progressEmpty(QPainter& p) {
    progressFace(p);
}

void WindowArt::progressFull(QPainter& p) {
    progressFace(p);
    QRectF bar(28, 47, 487, 26);
    QLinearGradient fill(bar.topLeft(), bar.bottomLeft());
    fill.setColorAt(0, accentLight);
    fill.setColorAt(0.5, accent);
    fill.setColorAt(1, accentDeep);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(bar, 3, 3);
    // Fine diagonal hatching and a gloss line give the bar some life.
    p.save();
    p.setClipRect(bar);
    p.setPen(QPen(QColor(255, 255, 255, 26), 4));
    for (double x = bar.left() - 30; x < bar.right() + 30; x += 14)
        p.drawLine(QPointF(x, bar.bottom()), QPointF(x + 20, bar.top()));
    p.restore();
    QLinearGradient gloss(bar.topLeft(), QPointF(bar.left(), bar.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, 90));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(bar.left() + 1, bar.top() + 1, bar.width() - 2, bar.height() / 2), 2,
                      2);
}

void WindowArt::channelTest(QPainter& p) {
    SkinPainter sp(p);
    windowWithCaption(p, 640, 680, 36);
    mark(p, QRectF(14, 9, 18, 18));

    // The listening room seen from above, the listener in the middle.
    QRectF room(30, 56, 580, 540);
    sp.panel(room, 10, panelTop, panelBottom, panelBorder);
    p.setPen(QPen(QColor(255, 255, 255, 10), 1));
    for (double x = room.left() + 29; x < room.right(); x += 29)
        p.drawLine(QPointF(x, room.top() + 1), QPointF(x, room.bottom() - 1));
    for (double y = room.top() + 27; y < room.bottom(); y += 27)
        p.drawLine(QPointF(room.left() + 1, y), QPointF(room.right() - 1, y));
    QPointF seat = room.center();
    for (int r : {90, 170, 250}) {
        p.setPen(QPen(QColor(accent.red(), accent.green(), accent.blue(), 40), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(seat, r, r);
    }
    QRadialGradient listener(seat, 26);
    listener.setColorAt(0, QColor(accent.red(), accent.green(), accent.blue(), 120));
    listener.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(listener);
    p.drawEllipse(seat, 26, 26);
    p.setBrush(accentLight);
    p.drawEllipse(seat, 5, 5);
    sp.well(QRectF(30, 610, 580, 56), 8, QColor(0x14, 0x16, 0x1a));
}

void WindowArt::routeCell(QPainter& p) {
    SkinPainter sp(p);
    p.fillRect(QRectF(0, 0, 104, 48), QColor(73, 72, 72));
    sp.panel(QRectF(1, 1, 102, 46), 4, panelTop, panelBottom, panelBorder);
}

void WindowArt::routeCellOn(QPainter& p) {
    SkinPainter sp(p);
    p.fillRect(QRectF(0, 0, 104, 48), QColor(73, 72, 72));
    sp.panel(QRectF(1, 1, 102, 46), 4, QColor(0x1d, 0x33, 0x40), QColor(0x16, 0x24, 0x2d),
             accentEdge);
    sp.fadedLine(6, 98, 2.5, accent, 1);
}

void WindowArt::routeCellNarrow(QPainter& p) {
    SkinPainter sp(p);
    p.fillRect(QRectF(0, 0, 22, 48), QColor(73, 72, 72));
    sp.panel(QRectF(1, 1, 20, 46), 3, bandTop, bandBottom, panelBorder);
    for (int i = 0; i < 3; ++i)
        sp.line(QPointF(8 + 3 * i, 16), QPointF(8 + 3 * i, 32), QColor(255, 255, 255, 30), 1);
}
