#include "controls/skin_label.h"

#include <QPainter>

#include "controls/skin_text_format.h"
#include "platform/qt/font_faces.h"

SkinLabel::SkinLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SkinLabel::create(unsigned controlId, const QRect& rect) {
    m_controlId = controlId;
    setGeometry(rect);
    show();
}

void SkinLabel::SetBackground(DrawingSurface* backgroundSource, QRgb fillColour, int pngId) {
    m_surface.setSource(backgroundSource);
    m_fill = fillColour;
    if (pngId > 0) m_image = SkinImage::load(pngId);
    m_surface.invalidateBackground();
    update();
}

void SkinLabel::SetText(const QString& text) {
    m_text = text;
    m_surface.invalidateBackground();
    ensureRender();
    update();
}

void SkinLabel::SetTextStyle(double fontSize, const QString& face, QRgb colour,
                             unsigned alignment) {
    m_fontSize = fontSize;
    m_face = face;
    m_colour = colour;
    m_alignment = alignment;
    m_surface.invalidateBackground();
    update();
}

void SkinLabel::DrawToSurface(DrawingSurface& target, int relativeToRoot) {
    ensureRender();
    m_surface.drawTo(this, target, relativeToRoot);
}

const QImage& SkinLabel::picture() {
    ensureRender();
    return m_surface.composed().image();
}

// The label takes its background afresh at every drawing.
void SkinLabel::ensureRender() {
    if (width() <= 0 || height() <= 0) return;
    m_surface.render(this, [this] { compose(); });
}

void SkinLabel::compose() {
    QImage* dc = m_surface.composeOnBackground(this);
    if (!dc) return;
    QPainter p(dc);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                     QPainter::TextAntialiasing);
    QRectF client(0, 0, width(), height());
    if (qAlpha(m_fill) != 0) p.fillRect(client, QColor::fromRgba(m_fill));
    if (!m_image.isNull()) m_image.draw(p, client);

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

void SkinLabel::paintEvent(QPaintEvent*) {
    ensureRender();
    QPainter p(this);
    p.drawImage(0, 0, m_surface.composed().image());
}

void SkinLabel::resizeEvent(QResizeEvent*) {
    m_surface.invalidateBackground();
    update();
}

void SkinLabel::moveEvent(QMoveEvent*) {
    m_surface.invalidateBackground();
    update();
}

void SkinLabel::focusOutEvent(QFocusEvent*) {
    update();
}
