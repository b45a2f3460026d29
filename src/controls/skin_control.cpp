#include "controls/skin_control.h"

#include "platform/qt/mouse.h"

SkinControl::SkinControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinControl::create(const QRect& rect) {
    setGeometry(rect);
    show();
}

void SkinControl::setShown(bool shown) {
    m_shown = shown;
    if (!shown) endDrag();
    inputStateChanged();
    invalidate();
}

void SkinControl::setInputEnabled(bool enabled) {
    m_enabled = enabled;
    if (!enabled) {
        m_focused = false;
        endDrag();
    }
    inputStateChanged();
    invalidate();
}

void SkinControl::beginDrag() {
    m_dragging = true;
    Mouse::capture(this);
    Mouse::setCursor(this, Mouse::Cursor::Hand);
}

void SkinControl::endDrag() {
    m_dragging = false;
    if (Mouse::captured() == this) Mouse::release();
    Mouse::setCursor(this, Mouse::Cursor::Arrow);
}

void SkinControl::invalidate() {
    m_surface.invalidate();
    update();
}

void SkinControl::redrawNow() {
    m_surface.invalidate();
    repaint();
}

const QImage& SkinControl::renderPicture() {
    return m_surface.render(this, [this] { compose(); });
}

void SkinControl::drawToSurface(DrawingSurface& target, bool relativeToRoot) {
    renderPicture();
    m_surface.drawTo(this, target, relativeToRoot);
}

void SkinControl::paintEvent(QPaintEvent*) {
    ControlSurface::paint(this, renderPicture());
}

// What lies under the control changed with its place.
void SkinControl::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    m_surface.invalidateBackground();
    invalidate();
}

void SkinControl::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    invalidate();
}

// A control on a page that is not shown holds no pictures.
void SkinControl::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_surface.release();
}

void SkinControl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_focused = false;
    invalidate();
}
