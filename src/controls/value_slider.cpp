#include "controls/value_slider.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/qt/font_faces.h"
#include "resources/skin_ids.h"
#include "resources/skin_layout.h"

namespace {

// The slider's layout row 0, in design units of its 170 x 33 picture.
constexpr double kDesignWidth = 170;
constexpr double kDesignHeight = 33;
constexpr double kLabelBandBottom = 14;
constexpr double kCompactHeight = 19;  // the track band alone, from design y 14
constexpr double kTrackY = 24;
constexpr double kTrackStart = 10;
constexpr double kTrackEnd = 159;
constexpr double kTrackEndWithToggle = 144;
constexpr double kThumbWidth = 18;
constexpr double kThumbHeight = 16;
constexpr double kBarHeight = 4;
const QRectF kToggle(QPointF(153, 16), QPointF(168, 31));

namespace Art = SkinLayout::Slider;

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

}  // namespace

ValueSlider::ValueSlider(QWidget* parent) : SkinControl(parent) {
    setFocusPolicy(Qt::ClickFocus);
}

void ValueSlider::setRange(double minimum, double maximum) {
    m_scale.minimum = minimum;
    m_scale.maximum = maximum;
    invalidate();
}

void ValueSlider::setFineSteps(double threshold, double step) {
    m_scale.threshold = threshold;
    m_scale.fineStep = step;
}

void ValueSlider::setLevelBar(bool on) {
    m_levelBar = on;
    invalidate();
}

void ValueSlider::setLabelMode(bool on) {
    m_labelMode = on;
    relayout();
}

void ValueSlider::setTogglePresent(bool present) {
    m_togglePresent = present;
    relayout();
}

void ValueSlider::setLabelColour(QRgb colour) {
    m_labelColour = colour;
    invalidate();
}

void ValueSlider::setLabelFormat(const QString& format) {
    m_labelFormat = format;
    invalidate();
}

void ValueSlider::setSkin(DrawingSurface* background) {
    m_image = SkinImage::load(SkinId::Slider);
    surface().setSource(background);
    surface().invalidateBackground();
    m_toggleOffsetNow = m_togglePresent ? m_toggleOffset : 0;
    relayout();
}

void ValueSlider::setValue(double value) {
    if (std::isnan(value)) return;
    if (m_togglePresent) {
        bool on = value >= m_toggleOffset;
        m_toggleOffsetNow = on ? m_toggleOffset : 0;
        if (on) value -= m_toggleOffset;
    }
    m_value = value;
    surface().invalidateBackground();
    invalidate();
    if (isVisible()) {
        setFocusedLook(true);
        setFocus(Qt::OtherFocusReason);
        redrawNow();
    }
}

double ValueSlider::valueWithToggle() const {
    return m_togglePresent ? m_value + m_toggleOffsetNow : m_value;
}

void ValueSlider::setLabelText(const QString& text) {
    m_label = text;
    invalidate();
}

QString ValueSlider::labelText() const {
    if (m_labelFormat.isEmpty()) return m_label;
    return fromUtf8(SliderScale::formatLabel(m_labelFormat.toStdString(), m_scale.clamp(m_value)));
}

void ValueSlider::notify() {
    double v = std::clamp(std::trunc(m_value), -2e9, 2e9);
    emit valueChanged(static_cast<int>(v));
}

// --- layout and drawing ---

void ValueSlider::relayout() {
    double sx = width() / kDesignWidth;
    double sy = m_labelMode ? height() / kDesignHeight : height() / kCompactHeight;
    double top = m_labelMode ? 0 : kLabelBandBottom;
    auto y = [&](double designY) { return (designY - top) * sy; };
    m_trackStart = kTrackStart * sx;
    m_trackEnd = (m_togglePresent ? kTrackEndWithToggle : kTrackEnd) * sx;
    m_trackY = y(kTrackY);
    m_thumbWidth = kThumbWidth * sx;
    m_thumbHeight = kThumbHeight * sy;
    m_barHeight = kBarHeight * sy;
    m_toggle = QRectF(QPointF(kToggle.left() * sx, y(kToggle.top())),
                      QPointF(kToggle.right() * sx, y(kToggle.bottom())));
    surface().invalidateBackground();
    invalidate();
}

void ValueSlider::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

QRectF ValueSlider::thumbRect() const {
    double x = m_scale.position(m_value, m_trackStart, m_trackEnd);
    return QRectF(x - m_thumbWidth / 2, m_trackY - m_thumbHeight / 2, m_thumbWidth, m_thumbHeight);
}

QRectF ValueSlider::trackBand() const {
    if (!m_labelMode) return QRectF(rect());
    double sy = height() / kDesignHeight;
    return QRectF(0, kLabelBandBottom * sy, width(), (kDesignHeight - kLabelBandBottom) * sy);
}

void ValueSlider::compose() {
    surface().composeBackgroundOnly();
    QImage* picture = surface().composed().dc();
    if (!picture || !shown() || m_image.isNull()) return;
    QPainter p(picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    double value = m_scale.clamp(m_value);
    m_image.draw(p, trackBand(), m_togglePresent ? Art::kTrackWithToggle : Art::kTrack);
    if (m_togglePresent) m_image.draw(p, m_toggle, toggleOn() ? Art::kToggleOn : Art::kToggleOff);
    if (m_levelBar) {
        double span = m_scale.maximum - m_scale.minimum;
        int alpha = span > 0 ? int(std::trunc(230 * (value - m_scale.minimum) / span)) : 0;
        alpha = std::clamp(alpha, 0, 255);
        QLinearGradient gradient(m_trackStart, 0, m_trackEnd, 0);
        gradient.setColorAt(0, Qt::transparent);
        gradient.setColorAt(0.25, QColor(0, 255, 0, alpha));
        gradient.setColorAt(0.5, QColor(255, 255, 0, alpha));
        gradient.setColorAt(0.75, QColor(255, 0, 0, alpha));
        gradient.setColorAt(1, Qt::transparent);
        p.fillRect(QRectF(m_trackStart, m_trackY - m_barHeight / 2, m_trackEnd - m_trackStart,
                          m_barHeight),
                   gradient);
    }
    if (enabledForInput()) {
        QRectF thumb = thumbRect();
        double cx = std::trunc(thumb.center().x() + 0.5);
        thumb.moveCenter(QPointF(cx, m_trackY));
        m_image.draw(p, thumb, focusedLook() ? Art::kThumbFocused : Art::kThumb);
    }
    if (m_labelMode) {
        double sy = height() / kDesignHeight;
        int size = height() - int(20 * height() / kDesignHeight) - 1;
        p.setFont(FontFaces::pixelFont(QStringLiteral("微软雅黑"), std::max(size, 1)));
        p.setPen(QColor::fromRgba(m_labelColour));
        QRectF band(1, 0, width() - 2, kLabelBandBottom * sy);
        QString text = labelText();
        int colon = text.indexOf(QLatin1Char(':'));
        int flags = Qt::TextSingleLine | Qt::AlignVCenter;
        if (colon < 0) {
            p.drawText(band, flags | Qt::AlignLeft, text);
        } else {
            p.drawText(band, flags | Qt::AlignLeft, text.left(colon + 1));
            p.drawText(band, flags | Qt::AlignRight, text.mid(colon + 1));
        }
    }
}

// --- input ---

void ValueSlider::mousePressEvent(QMouseEvent* event) {
    if (!acceptsInput() || event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    QPointF at = event->position();
    QRectF thumb = thumbRect();
    if (thumb.contains(at)) {
        beginDrag();
        notify();
    } else if (m_togglePresent && m_toggle.contains(at)) {
        m_toggleOffsetNow = m_toggleOffsetNow == m_toggleOffset ? 0 : m_toggleOffset;
        notify();
    } else if (at.y() >= thumb.top() && at.y() <= thumb.bottom()) {
        // Beside the thumb; the toggle's own column never steps.
        bool beforeToggle = !m_togglePresent || at.x() < m_toggle.left();
        if (at.x() > thumb.right() && beforeToggle) {
            m_value = m_scale.stepUp(m_value);
            notify();
        } else if (at.x() < thumb.left()) {
            m_value = m_scale.stepDown(m_value);
            notify();
        }
    }
    setFocusedLook(true);
    invalidate();
}

void ValueSlider::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void ValueSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!acceptsInput() || !dragging()) return;
    m_value = m_scale.valueAt(event->position().x(), m_trackStart, m_trackEnd);
    redrawNow();
    notify();
}

void ValueSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!acceptsInput() || event->button() != Qt::LeftButton || !dragging()) return;
    endDrag();
    notify();
    invalidate();
}

void ValueSlider::wheelEvent(QWheelEvent* event) {
    event->accept();
    int delta = event->angleDelta().y();
    if (!acceptsInput() || delta == 0) return;
    m_value = delta > 0 ? m_scale.stepUp(m_value) : m_scale.stepDown(m_value);
    notify();
    invalidate();
}

void ValueSlider::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!acceptsInput() || key == Qt::Key_Up || key == Qt::Key_Down) return;
    m_value = key == Qt::Key_Right ? m_scale.stepUp(m_value) : m_scale.stepDown(m_value);
    notify();
    redrawNow();
}
