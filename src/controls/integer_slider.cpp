#include "controls/integer_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/qt/mouse.h"
#include "resources/skin_ids.h"
#include "resources/skin_layout.h"

namespace Art = SkinLayout::IntegerSlider;

IntegerSlider::IntegerSlider(QWidget* parent) : SkinControl(parent) {
    setFocusPolicy(Qt::ClickFocus);
}

void IntegerSlider::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    invalidate();
}

void IntegerSlider::setSkin(DrawingSurface* background) {
    m_image = SkinImage::load(SkinId::IntegerSlider);
    surface().setSource(background);
    surface().invalidateBackground();
    relayout();
}

void IntegerSlider::setScaledValue(double x) {
    if (std::isnan(x)) return;
    m_value = static_cast<int>(std::clamp(std::trunc(m_setScale * x), -2e9, 2e9));
    redrawNow();
}

int IntegerSlider::clamped(int v) const {
    return std::clamp(v, m_minimum, std::max(m_minimum, m_maximum));
}

void IntegerSlider::report() {
    m_value = clamped(m_value);
    emit valueChanged(m_value);
}

// --- layout and drawing ---

// The picture's groove, scaled to the control.
void IntegerSlider::relayout() {
    double sx = width() / double(Art::kTrackLit.width());
    double sy = height() / double(Art::kTrackLit.height());
    m_start = Art::kGrooveStart * sx;
    m_end = Art::kGrooveEnd * sx;
    m_cross = Art::kGrooveY * sy;
    m_thumbWidth = std::trunc(Art::kThumb.width() * sx);
    m_thumbHeight = std::trunc(Art::kThumb.height() * sy);
    surface().invalidateBackground();
    invalidate();
}

void IntegerSlider::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

double IntegerSlider::positionOf(int value) const {
    int span = m_maximum - m_minimum;
    if (span == 0) return m_start;
    return m_start + double(value - m_minimum) * (m_end - m_start) / span;
}

QRectF IntegerSlider::thumbRect() const {
    double at = positionOf(clamped(m_value));
    return QRectF(at - m_thumbWidth / 2, m_cross - m_thumbHeight / 2, m_thumbWidth, m_thumbHeight);
}

// The track is lit from its minimum end to the thumb.
void IntegerSlider::compose() {
    surface().composeBackgroundOnly();
    QImage* picture = surface().composed().dc();
    if (!picture || !shown() || m_image.isNull()) return;
    m_value = clamped(m_value);
    QPainter p(picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QRectF track(rect());
    double split = positionOf(m_value);
    QRectF lit(track.left(), track.top(), split, track.height());
    QRectF dim(split, track.top(), track.width() - split, track.height());
    bool enabled = enabledForInput();
    p.save();
    p.setClipRect(lit);
    m_image.draw(p, track, enabled ? Art::kTrackLit : Art::kTrackDim);
    p.restore();
    p.save();
    p.setClipRect(dim);
    m_image.draw(p, track, Art::kTrackDim);
    p.restore();
    if (enabled) m_image.draw(p, thumbRect(), focusedLook() ? Art::kThumbFocused : Art::kThumb);
}

// --- input ---

void IntegerSlider::mousePressEvent(QMouseEvent* event) {
    if (!acceptsInput() || event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    if (thumbRect().contains(event->position())) {
        beginDrag();
        report();
    }
    setFocusedLook(true);
    invalidate();
}

void IntegerSlider::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void IntegerSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!acceptsInput() || !dragging() || m_end == m_start) return;
    double a = event->position().x();
    double v = m_minimum + std::trunc((a - m_start) * (m_maximum - m_minimum) / (m_end - m_start));
    m_value = static_cast<int>(std::clamp(v, -2e9, 2e9));
    redrawNow();
    report();
}

void IntegerSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging()) return;
    endDrag();
    report();
    invalidate();
}

// From the coarse threshold on, the wheel and keys move ten steps.
void IntegerSlider::stepBy(int direction) {
    constexpr int kCoarse = 30000;
    double v = m_value;
    if (direction > 0)
        v = m_value < kCoarse ? v + 1 : v + 10;
    else
        v = m_value > kCoarse ? v - 10 : v - 1;
    m_value = static_cast<int>(std::clamp(v, -2e9, 2e9));
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
    redrawNow();
}
