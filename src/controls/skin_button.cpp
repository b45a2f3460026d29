#include "controls/skin_button.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/skin_text_format.h"
#include "platform/qt/font_faces.h"
#include "platform/qt/mouse.h"

SkinButton::SkinButton(QWidget* parent) : SkinControl(parent) {
    setMouseTracking(true);
}

void SkinButton::setImage(DrawingSurface* backgroundSource, SkinId pngId) {
    m_hotRect = rect();
    surface().setSource(backgroundSource);
    if (pngId != SkinId::None) {
        m_image = SkinImage::load(pngId);
        // A strip narrower than the button still shows its one frame.
        if (width() > 0 && !m_image.isNull())
            m_frameCount = std::max(1, static_cast<int>(static_cast<unsigned>(m_image.width()) /
                                                        static_cast<unsigned>(width())));
        m_imageLoaded = !m_image.isNull();
    }
    invalidateLayout();
}

void SkinButton::setTextStyle(double fontSize, const QString& face, QRgb normalColour,
                              unsigned alignment, QRgb onColour) {
    m_fontSize = fontSize;
    m_face = face;
    m_normalColour = normalColour;
    m_alignment = alignment;
    m_onColour = onColour;
    m_currentColour = m_checkType == 2 ? onColour : normalColour;
    invalidateLayout();
    update();
}

void SkinButton::setText(const QString& text) {
    if (text == m_text) return;
    m_text = text;
    // The text box depends on the measured text.
    invalidateLayout();
    update();
}

void SkinButton::setCheckType(int type) {
    m_checkType = type;
    m_currentFrame = type == 2 ? 1 : 0;
    m_currentColour = type == 2 ? m_onColour : m_normalColour;
    m_pressed = false;
    invalidateRender();
    update();
}

// A button that takes no input shows neither hover nor press.
void SkinButton::inputStateChanged() {
    if (acceptsInput()) return;
    m_hover = false;
    m_pressed = false;
}

QRectF SkinButton::textBox() {
    ensureLayout();
    return m_textBox;
}

// The background is captured with the layout.
const QImage& SkinButton::renderPicture() {
    ensureLayout();
    return SkinControl::renderPicture();
}

void SkinButton::invalidateLayout() {
    m_layoutValid = false;
    surface().invalidate();
}

void SkinButton::ensureLayout() {
    if (m_layoutValid) return;
    m_layoutValid = true;
    surface().captureBackground(this);
    surface().composed().recreate(0, 0, std::max(1, width()), std::max(1, height()));
    if (m_imageLoaded && m_image.width() > 0 && m_image.height() > 0) {
        m_scaleX = static_cast<double>(m_frameCount) * width() / m_image.width();
        m_scaleY = static_cast<double>(height()) / m_image.height();
    } else {
        m_scaleX = m_scaleY = 1.0;
        m_hotRect = rect();
    }
    m_font = FontFaces::pixelFont(m_face, m_fontSize);

    QRectF box(m_hotRect.left() * m_scaleX, m_hotRect.top() * m_scaleY,
               m_hotRect.width() * m_scaleX - 1, m_hotRect.height() * m_scaleY - 1);
    QSizeF measured = SkinTextFormat::measure(m_font, m_text, m_alignment);
    if (m_alignment & SkinTextFormat::SingleLine) {
        if (m_alignment & SkinTextFormat::CentreV) {
            box.setY((box.height() - measured.height()) / 2);
            box.setHeight(measured.height());
        } else if (m_alignment & SkinTextFormat::Bottom) {
            box.setY(box.height() - measured.height());
            box.setHeight(measured.height());
        }
    }
    if (m_alignment & SkinTextFormat::CentreH) {
        box.setX((box.width() - measured.width()) / 2);
        box.setWidth(measured.width());
    }
    m_textBox = box;
}

void SkinButton::compose() {
    QImage* dc = surface().composeOnBackground(this, shown());
    if (!dc) return;
    QPainter p(dc);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                     QPainter::TextAntialiasing);
    if (m_imageLoaded) {
        if (m_currentFrame >= m_frameCount) m_currentFrame = 0;
        double frameWidth = static_cast<double>(m_image.width()) / m_frameCount;
        QRectF client(0, 0, width(), height());
        m_image.draw(p, client,
                     QRectF(m_currentFrame * frameWidth, 0, frameWidth, m_image.height()));
        if (m_hover && enabledForInput() && m_frameCount > m_hoverFrame)
            m_image.draw(p, client,
                         QRectF(m_hoverFrame * frameWidth, 0, frameWidth, m_image.height()));
    }
    QRgb colour = m_checkType == 2 ? m_onColour : m_normalColour;
    SkinTextFormat::draw(p, m_textBox, m_font, QColor::fromRgba(colour), m_text, m_alignment);
}

void SkinButton::resizeEvent(QResizeEvent*) {
    invalidateLayout();
}

void SkinButton::moveEvent(QMoveEvent*) {
    invalidateLayout();
    update();
}

QRectF SkinButton::scaledHotRect() const {
    return QRectF(m_hotRect.left() * m_scaleX, m_hotRect.top() * m_scaleY,
                  m_hotRect.width() * m_scaleX, m_hotRect.height() * m_scaleY);
}

QRectF SkinButton::hoverArea() const {
    QRectF area = scaledHotRect();
    QRectF inner(1, 1, width() - 2, height() - 2);
    return area.intersected(inner);
}

void SkinButton::evaluatePointer(const QPointF& pos) {
    bool inside = hoverArea().contains(pos);
    if (inside && !m_hover) {
        m_hover = true;
        invalidateRender();
        update();
    } else if (!inside && m_hover) {
        m_hover = false;
        invalidateRender();
        update();
    }
    Mouse::setCursor(this, inside ? Mouse::Cursor::Hand : Mouse::Cursor::Arrow);
}

void SkinButton::mouseMoveEvent(QMouseEvent* event) {
    if (!acceptsInput() || m_pressed) return;
    evaluatePointer(event->position());
}

void SkinButton::leaveEvent(QEvent*) {
    if (m_pressed || !m_hover) return;
    m_hover = false;
    invalidateRender();
    update();
}

void SkinButton::buttonDown(const QPointF& pos) {
    invalidateRender();
    if (scaledHotRect().contains(pos)) {
        Mouse::setCursor(this, Mouse::Cursor::Hand);
        m_pressed = true;
    }
    update();
}

void SkinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !acceptsInput()) return;
    buttonDown(event->position());
}

void SkinButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !acceptsInput()) return;
    buttonDown(event->position());
}

void SkinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !acceptsInput()) return;
    if (m_pressed) {
        if (m_checkType == 1) {
            m_checkType = 2;
            m_currentFrame = 1;
        } else if (m_checkType == 2) {
            m_checkType = 1;
            m_currentFrame = 0;
        }
        m_pressed = false;
        invalidateRender();
        update();
        m_hover = false;
        QMetaObject::invokeMethod(this, &SkinButton::clicked, Qt::QueuedConnection);
    }
    evaluatePointer(event->position());
    m_currentColour = m_checkType == 2 ? m_onColour : m_normalColour;
    m_currentFrame = m_checkType == 2 ? 1 : 0;
    m_pressed = false;
}

void SkinButton::focusOutEvent(QFocusEvent*) {
    m_hover = false;
    invalidateRender();
    update();
}
