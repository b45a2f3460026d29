#include "controls/skin_label.h"

#include <QPainter>

#include "controls/skin_text_format.h"
#include "platform/qt/font_faces.h"

SkinLabel::SkinLabel(QWidget* parent) : SkinControl(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SkinLabel::setBackground(DrawingSurface* backgroundSource) {
    surface().setSource(backgroundSource);
    surface().invalidateBackground();
    update();
}

void SkinLabel::setText(const QString& text) {
    m_text = text;
    surface().invalidateBackground();
    if (isVisible()) renderPicture();
    update();
}

void SkinLabel::setTextStyle(double fontSize, const QString& face, QRgb colour,
                             unsigned alignment) {
    m_fontSize = fontSize;
    m_face = face;
    m_colour = colour;
    m_alignment = alignment;
    surface().invalidateBackground();
    update();
}

// The label takes its background afresh at every drawing.
const QImage& SkinLabel::renderPicture() {
    if (width() <= 0 || height() <= 0) return surface().composed().image();
    return SkinControl::renderPicture();
}

void SkinLabel::compose() {
    QImage* dc = surface().composeOnBackground(this);
    if (!dc) return;
    QPainter p(dc);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                     QPainter::TextAntialiasing);

    QFont font = FontFaces::pixelFont(m_face, m_fontSize);
    QRectF box(0, 0, width() - 1, height() - 1);
    QSizeF measured = SkinTextFormat::measure(font, m_text, m_alignment);
    if (measured.width() > box.width()) {
        double grow = (measured.width() - box.width()) / 2;
        box.adjust(-grow, 0, grow, 0);
    }
    if (measured.height() > box.height()) {
        double grow = (measured.height() - box.height()) / 2;
        box.adjust(0, -grow, 0, grow);
    }
    m_textBox = box;
    // Twice at the same place: the skin's labels are drawn a little heavier.
    QColor colour = QColor::fromRgba(m_colour);
    SkinTextFormat::draw(p, box, font, colour, m_text, m_alignment);
    SkinTextFormat::draw(p, box, font, colour, m_text, m_alignment);
}

void SkinLabel::resizeEvent(QResizeEvent*) {
    surface().invalidateBackground();
    update();
}
