#include "controls/integer_slider.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/qt/control_notification.h"
#include "platform/qt/mouse.h"
#include "resources/skin_layout.h"

namespace {

namespace Art = SkinLayout::IntegerSlider;

// clang-format off
const IntegerSlider::LayoutRow kRows[IntegerSlider::kLayoutRows] = {
    {{18, 98}, 86, 9, 12, {16, 23}},
    {{51, 124}, 112, 40, 12, {16, 23}},
    {{79, 137}, 125, 39, 12, {16, 23}},
    {{40, 98}, 86, 20, 12, {16, 23}},
    {{38, 122}, 111, 30, 10, {16, 23}},
    {{131, 22}, 15, 11, 116, {30, 20}},
    {{79, 137}, 125, 39, 12, {16, 23}},
    {{22, 181}, 166, 11, 15, {20, 30}},
    {{167, 24}, 8, 12, 159, {16, 24}},
    {{29, 105}, 112, 18, 12, {16, 23}},
    {{40, 109}, 99, 31, 11, {16, 23}},
    {{96, 21}, 7, 7, 89, {15, 14}},
    {{28, 171}, 165, 14, 6, {28, 18}},
    {{44, 96}, 90, 36, 6, {16, 13}},
    {{70, 93}, 87, 34, 6, {17, 12}},
};
// clang-format on

}  // namespace

const IntegerSlider::LayoutRow& IntegerSlider::layoutRow(int row) {
    return kRows[row >= 0 && row < kLayoutRows ? row : 0];
}

IntegerSlider::IntegerSlider(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void IntegerSlider::create(unsigned controlId, const QRect& rect) {
    m_id = controlId;
    setGeometry(rect);
    show();
}

void IntegerSlider::setVertical(bool vertical) {
    m_vertical = vertical;
    relayout();
}

void IntegerSlider::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    invalidate();
}

void IntegerSlider::SetShown(bool shown) {
    m_shown = shown;
    if (!shown && Mouse::captured() == this) Mouse::release();
    invalidate();
}

void IntegerSlider::SetEnabled(bool enabled) {
    m_enabled = enabled;
    if (!enabled) {
        m_focused = m_dragging = false;
        if (Mouse::captured() == this) Mouse::release();
    }
    invalidate();
}

void IntegerSlider::SetSkin(DrawingSurface* background, int pngId, int layoutRow) {
    m_image = SkinImage::load(pngId);
    m_surface.setSource(background);
    m_row = layoutRow;
    m_surface.invalidateBackground();
    relayout();
}

void IntegerSlider::SetScaledValue(double x) {
    if (std::isnan(x)) return;
    m_value = static_cast<int>(std::clamp(std::trunc(m_setScale * x), -2e9, 2e9));
    m_surface.invalidate();
    repaint();
}

int IntegerSlider::clamped(int v) const {
    return std::clamp(v, m_minimum, std::max(m_minimum, m_maximum));
}

void IntegerSlider::report() {
    m_value = clamped(m_value);
    ControlNotification::send(this, m_id, m_index, m_value);
}

void IntegerSlider::invalidate() {
    m_surface.invalidate();
    update();
}

// --- layout and drawing ---

void IntegerSlider::relayout() {
    const LayoutRow& row = layoutRow(m_row);
    double sx = width() / double(row.design.width());
    double sy = height() / double(row.design.height());
    double along = m_vertical ? sy : sx;
    double across = m_vertical ? sx : sy;
    m_start = row.start * along;
    m_end = row.end * along;
    m_cross = row.cross * across;
    m_thumbWidth = std::trunc(row.thumb.width() * sx);
    m_thumbHeight = std::trunc(row.thumb.height() * sy);
    m_surface.invalidateBackground();
    invalidate();
}

void IntegerSlider::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void IntegerSlider::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    m_surface.invalidateBackground();
    invalidate();
}

void IntegerSlider::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    invalidate();
}

double IntegerSlider::positionOf(int value) const {
    int span = m_maximum - m_minimum;
    if (span == 0) return m_start;
    return m_start + double(value - m_minimum) * (m_end - m_start) / span;
}

QRectF IntegerSlider::thumbRect() const {
    double at = positionOf(clamped(m_value));
    QPointF centre = m_vertical ? QPointF(m_cross, at) : QPointF(at, m_cross);
    return QRectF(centre.x() - m_thumbWidth / 2, centre.y() - m_thumbHeight / 2, m_thumbWidth,
                  m_thumbHeight);
}

const QImage& IntegerSlider::renderPicture() {
    return m_surface.render(this, [this] { compose(); });
}

// The track picture runs along x; a vertical slider turns it so that the
// picture's minimum end lies at the track's minimum end.
void IntegerSlider::compose() {
    m_surface.composeBackgroundOnly();
    QImage* picture = m_surface.composed().dc();
    if (!picture || !m_shown || m_image.isNull()) return;
    m_value = clamped(m_value);
    QPainter p(picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QRectF client(rect());
    double split = positionOf(m_value);
    QRectF track = client;
    if (m_vertical) {
        bool upward = m_end < m_start;
        p.save();
        p.translate(upward ? 0 : width(), upward ? height() : 0);
        p.rotate(upward ? -90 : 90);
        track = QRectF(0, 0, height(), width());
        split = upward ? height() - split : split;
    }
    bool forward = m_vertical || m_end >= m_start;
    QRectF lit = forward ? QRectF(track.left(), track.top(), split, track.height())
                         : QRectF(split, track.top(), track.width() - split, track.height());
    QRectF dim = forward ? QRectF(split, track.top(), track.width() - split, track.height())
                         : QRectF(track.left(), track.top(), split, track.height());
    bool enabled = m_enabled;
    p.save();
    p.setClipRect(lit);
    m_image.draw(p, track, enabled ? Art::kTrackLit : Art::kTrackDim);
    p.restore();
    p.save();
    p.setClipRect(dim);
    m_image.draw(p, track, Art::kTrackDim);
    p.restore();
    if (m_vertical) p.restore();
    if (enabled) m_image.draw(p, thumbRect(), m_focused ? Art::kThumbFocused : Art::kThumb);
}

void IntegerSlider::paintEvent(QPaintEvent*) {
    ControlSurface::paint(this, renderPicture());
}

void IntegerSlider::DrawToSurface(DrawingSurface& target, int relativeToRoot) {
    renderPicture();
    m_surface.drawTo(this, target, relativeToRoot);
}

// --- input ---

void IntegerSlider::mousePressEvent(QMouseEvent* event) {
    if (!acceptsInput() || event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    if (thumbRect().contains(event->position())) {
        Mouse::capture(this);
        Mouse::setCursor(this, Mouse::Cursor::Hand);
        m_dragging = true;
        report();
    }
    m_focused = true;
    invalidate();
}

void IntegerSlider::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void IntegerSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!acceptsInput() || !m_dragging || m_end == m_start) return;
    double a = m_vertical ? event->position().y() : event->position().x();
    double v = m_minimum + std::trunc((a - m_start) * (m_maximum - m_minimum) / (m_end - m_start));
    m_value = static_cast<int>(std::clamp(v, -2e9, 2e9));
    m_surface.invalidate();
    repaint();
    report();
}

void IntegerSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging) return;
    m_dragging = false;
    if (Mouse::captured() == this) Mouse::release();
    report();
    invalidate();
}

void IntegerSlider::stepBy(int direction) {
    double v = m_value;
    if (direction > 0)
        v = m_value < m_coarse ? v + m_step : v + 10 * m_step;
    else
        v = m_value > m_coarse ? v - 10 * m_step : v - m_step;
    m_value = static_cast<int>(std::clamp(std::trunc(v), -2e9, 2e9));
    report();
}

void IntegerSlider::wheelEvent(QWheelEvent* event) {
    event->accept();
    int delta = event->angleDelta().y();
    if (!acceptsInput() || delta == 0) return;
    stepBy(delta > 0 ? 1 : -1);
    invalidate();
}

void IntegerSlider::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!acceptsInput()) return;
    stepBy(key == Qt::Key_Up ? 1 : -1);
    m_surface.invalidate();
    repaint();
}

void IntegerSlider::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_focused = false;
    invalidate();
}
