#include "controls/response_graph_sprites.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "platform/qt/font_faces.h"

namespace {

constexpr QRgb kCrossoverColour = qRgb(255, 0, 0);
constexpr QRgb kBandColour = qRgb(200, 200, 200);
constexpr QRgb kFaintDisc = 0x0A000000;
constexpr int kRings[ResponseGraphSprites::kCells] = {20, 18, 16, 18, 20, 20};

QImage blank(int width, int height, qreal ratio) {
    QImage image(QSize(width, height) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

QString slotLabel(int slot) {
    if (slot == 0) return QStringLiteral("H");
    if (slot == 1) return QStringLiteral("L");
    return QString::number(slot - 1);
}

void drawCell(QPainter& p, int x, int y, int cell, int slot) {
    QColor colour = QColor::fromRgba(slot < 2 ? kCrossoverColour : kBandColour);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(kFaintDisc));
    p.drawEllipse(QRectF(x, y, ResponseGraphSprites::kCell, ResponseGraphSprites::kCell));
    if (cell == 0) {
        p.setBrush(colour);
        p.drawEllipse(QRectF(x + 4, y + 4, 16, 16));
    }
    double d = kRings[cell];
    double c = ResponseGraphSprites::kCell / 2.0;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 2));
    p.drawEllipse(QRectF(x + c - d / 2, y + c - d / 2, d, d));
    p.drawLine(QPointF(x + 9, y + c - d / 2), QPointF(x + 15, y + c - d / 2));
    p.drawLine(QPointF(x + 9, y + c + d / 2), QPointF(x + 15, y + c + d / 2));
    p.setPen(Qt::white);
    p.drawText(QRectF(x, y, ResponseGraphSprites::kCell, ResponseGraphSprites::kCell),
               Qt::AlignCenter, slotLabel(slot));
}

QPolygonF polygon(std::initializer_list<QPointF> points, double dx, double dy) {
    QPolygonF poly(points);
    poly.translate(dx, dy);
    return poly;
}

}  // namespace

QImage ResponseGraphSprites::markers(int slotCount, qreal ratio) {
    QImage image = blank(240, std::max(slotCount, 1) * kCell, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(FontFaces::pixelFont(QStringLiteral("Arial Bold"), 12, true));
    for (int slot = 0; slot < slotCount; ++slot) {
        for (int cell = 0; cell < kCells; ++cell)
            drawCell(p, cell * kCell, slot * kCell, cell, slot);
    }
    return image;
}

QImage ResponseGraphSprites::qHandles(qreal ratio) {
    QImage image = blank(96, 96, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRgb fills[2] = {0xC8FFFF00, 0xFAB00E1A};
    for (int row = 0; row < 2; ++row) {
        p.setBrush(QColor::fromRgba(fills[row]));
        double dy = row * kCell;
        p.drawPolygon(
            polygon({{2, 12}, {11, 2}, {11, 7}, {21, 7}, {21, 16}, {11, 16}, {11, 21}}, 0, dy));
        p.drawPolygon(
            polygon({{2, 7}, {12, 7}, {12, 2}, {21, 12}, {12, 21}, {12, 16}, {2, 16}}, kCell, dy));
    }
    return image;
}

QImage ResponseGraphSprites::banner(qreal ratio) {
    QImage image = blank(512, 64, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = FontFaces::pixelFont(QStringLiteral("Arial Bold"), 48, true);
    p.setFont(font);
    p.setPen(QColor::fromRgba(0x80FFFFFF));
    p.drawText(QRectF(0, 0, 512, 64), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("EQ PASS"));
    return image;
}
