#include "cpel_c_static.h"

#include <QPainter>

#include "platform/font_faces.h"
#include "skin_text_format.h"

Cpel_CStatic::Cpel_CStatic(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Cpel_CStatic::create(unsigned controlId, const QRect& rect) {
    m_controlId = controlId;
    setGeometry(rect);
    show();
}

void Cpel_CStatic::SetBackground(CMemDcClass* backgroundSource, QRgb fillColour, int pngId) {
    m_surface.setSource(backgroundSource);
    m_fill = fillColour;
    if (pngId > 0) m_image = SkinImage::load(pngId);
    m_surface.invalidateBackground();
    update();
}

void Cpel_CStatic::SetText(const QString& text) {
    m_text = text;
    m_surface.invalidateBackground();
    ensureRender();
    update();
}

void Cpel_CStatic::SetTextStyle(double fontSize, const QString& face, QRgb colour,
                                unsigned alignment) {
    m_fontSize = fontSize;
    m_face = face;
    m_colour = colour;
    m_alignment = alignment;
    m_surface.invalidateBackground();
    update();
}

void Cpel_CStatic::DrawToSurface(CMemDcClass& target, int relativeToRoot) {
    ensureRender();
    m_surface.drawTo(this, target, relativeToRoot);
}

const QImage& Cpel_CStatic::picture() {
    ensureRender();
    return m_surface.composed().image();
}

// The label takes its background afresh at every drawing.
void Cpel_CStatic::ensureRender() {
    if (width() <= 0 || height() <= 0) return;
    m_surface.render(this, [this] { compose(); });
}

void Cpel_CStatic::compose() {
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

void Cpel_CStatic::paintEvent(QPaintEvent*) {
    ensureRender();
    QPainter p(this);
    p.drawImage(0, 0, m_surface.composed().image());
}

void Cpel_CStatic::resizeEvent(QResizeEvent*) {
    m_surface.invalidateBackground();
    update();
}

void Cpel_CStatic::moveEvent(QMoveEvent*) {
    m_surface.invalidateBackground();
    update();
}

void Cpel_CStatic::focusOutEvent(QFocusEvent*) {
    update();
}
