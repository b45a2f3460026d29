#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

// The alignment flags of the skinned controls' texts: bit 0 centre
// horizontally, bit 1 align right, bit 2 centre vertically, bit 3 align
// bottom, bit 5 single line; other bits are ignored. Texts are never clipped.
class SkinTextFormat {
public:
    static constexpr unsigned CentreH = 0x01;
    static constexpr unsigned Right = 0x02;
    static constexpr unsigned CentreV = 0x04;
    static constexpr unsigned Bottom = 0x08;
    static constexpr unsigned SingleLine = 0x20;

    // The flags for QPainter::drawText.
    static int qtFlags(unsigned alignment);
    // The size the text takes without a width limit.
    static QSizeF measure(const QFont& font, const QString& text, unsigned alignment);
    // Draws the text in the box with the flags; nothing for an empty text.
    static void draw(class QPainter& painter, const QRectF& box, const QFont& font,
                     const QColor& colour, const QString& text, unsigned alignment);
};
