#include "controls/skin_text_format.h"

#include <QFontMetricsF>
#include <QPainter>

int SkinTextFormat::qtFlags(unsigned alignment) {
    int flags = Qt::TextDontClip;
    if (alignment & CentreH)
        flags |= Qt::AlignHCenter;
    else if (alignment & Right)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (alignment & CentreV)
        flags |= Qt::AlignVCenter;
    else if (alignment & Bottom)
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    flags |= (alignment & SingleLine) ? Qt::TextSingleLine : Qt::TextWordWrap;
    return flags;
}

QSizeF SkinTextFormat::measure(const QFont& font, const QString& text, unsigned alignment) {
    if (text.isEmpty()) return {};
    QFontMetricsF metrics(font);
    int flags = (alignment & SingleLine) ? Qt::TextSingleLine : 0;
    return metrics.size(flags, text);
}

void SkinTextFormat::draw(QPainter& painter, const QRectF& box, const QFont& font,
                          const QColor& colour, const QString& text, unsigned alignment) {
    if (text.isEmpty()) return;
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, qtFlags(alignment), text);
}
