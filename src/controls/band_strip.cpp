#include "controls/band_strip.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/qt/font_faces.h"
#include "resources/skin_ids.h"

namespace {

QRectF box(double l, double t, double r, double b) {
    return QRectF(QPointF(l, t), QPointF(r, b));
}

// Where things lie in the strip's picture, in its design units.
struct Layout {
    QSizeF design;
    std::array<QRectF, 3> boxes;  // gain, frequency, Q
    double trackX, trackTop, trackBottom;
    QSizeF thumb;
    QRectF thumbSource, thumbFocusedSource;
    QRectF iconArea;
    std::array<QRectF, 3> iconHits;     // peaking, high shelf, low shelf
    std::array<QRectF, 3> iconSources;  // the column with that icon selected
    QRectF bandNumber;
};

const Layout kLayout = {
    {52, 189},
    {box(5, 6, 47, 17), box(5, 147, 47, 158), box(5, 170, 47, 181)},
    31,
    33,
    127,
    {18, 21},
    box(24, 222, 40, 243),
    box(24, 197, 40, 218),
    box(1, 66, 16, 135),
    {box(1, 66, 16, 81), box(1, 93, 16, 108), box(1, 120, 16, 135)},
    {box(62, 0, 77, 68), box(80, 0, 95, 68), box(98, 0, 113, 68)},
    QRectF(0, 45, 18, 18),
};

constexpr int kTypeOfIcon[3] = {7, 5, 6};
constexpr QRgb kNumberColour = 0xFFFAFAFA;
constexpr QRgb kFocusedNumberColour = 0xFFFF0000;
const QColor kTextColour(250, 250, 250);
const QColor kBoxColour(67, 69, 67);

int iconOfType(int type) {
    return type == 5 ? 1 : type == 6 ? 2 : 0;
}

}  // namespace

BandStrip::BandStrip(QWidget* parent) : SkinControl(parent) {
    setFocusPolicy(Qt::ClickFocus);
    // The boxes start with these; values set before the first layout are kept.
    m_texts[0] = QString::fromStdString(BandValueText::text(BandValueText::Gain, 0));
    m_texts[1] = QString::fromStdString(BandValueText::text(BandValueText::Frequency, 1000));
    m_texts[2] = QString::fromStdString(BandValueText::text(BandValueText::Q, 0.4));
}

BandStrip::~BandStrip() {
    m_closing = true;
}

void BandStrip::setStripIndex(int index) {
    m_index = index;
    invalidate();
}

void BandStrip::inputStateChanged() {
    for (QLineEdit* b : m_boxes) {
        if (!b) continue;
        b->setVisible(shown());
        b->setReadOnly(!enabledForInput());
    }
}

void BandStrip::setIconsShown(bool shown) {
    m_iconsShown = shown;
    invalidate();
}

void BandStrip::setSkin(DrawingSurface* background) {
    m_image = SkinImage::load(SkinId::BandStrip);
    surface().setSource(background);
    surface().invalidateBackground();
    relayout();
}

// --- values ---

void BandStrip::showValue(int sub, double value) {
    if (sub == BandValueText::Gain) m_gain = value;
    QString text = QString::fromStdString(BandValueText::text(sub, value));
    m_texts[size_t(sub)] = text;
    if (QLineEdit* b = m_boxes[size_t(sub)]; b && b->text() != text) b->setText(text);
    invalidate();
}

QString BandStrip::boxText(int sub) const {
    if (sub < 0 || sub > 2) return {};
    if (QLineEdit* b = m_boxes[size_t(sub)]) return b->text();
    return m_texts[size_t(sub)];
}

QLineEdit* BandStrip::box(int sub) const {
    return sub >= 0 && sub < 3 ? m_boxes[size_t(sub)] : nullptr;
}

// Text in a box that is not a number gives way to the value last shown there.
double BandStrip::quantisedBox(int sub, int step) const {
    std::optional<double> typed = BandValueText::parse(boxText(sub).toStdString());
    if (!typed) typed = BandValueText::parse(m_texts[size_t(sub)].toStdString());
    return BandValueText::quantise(sub, typed.value_or(0), step, m_gainRange);
}

bool BandStrip::boxHoldsANumber(int sub) const {
    return BandValueText::parse(boxText(sub).toStdString()).has_value();
}

void BandStrip::setSubValue(int sub, double value) {
    if (std::isnan(value) || sub < 0 || sub > 3) return;
    switch (sub) {
        case BandValueText::Gain:
            showValue(sub, std::clamp(value, m_gainRange.minimum, m_gainRange.maximum));
            break;
        case BandValueText::Frequency:
        case BandValueText::Q:
            showValue(sub, BandValueText::quantise(sub, value, 0, m_gainRange));
            break;
        default:
            m_type = static_cast<int>(std::clamp(value, -1e9, 1e9));
            break;
    }
    invalidate();
    if (isVisible()) {
        setFocusedLook(true);
        setFocus(Qt::OtherFocusReason);
        redrawNow();
    }
}

double BandStrip::subValue(int sub) const {
    if (sub == BandValueText::Type) return m_type;
    if (sub < 0 || sub > 3) return 0;
    return quantisedBox(sub, 0);
}

void BandStrip::stepBox(int sub, int step) {
    bool refused = step == 0 && !boxHoldsANumber(sub);
    showValue(sub, quantisedBox(sub, step));
    if (!refused) notify(sub);
}

void BandStrip::notify(int sub) {
    emit subValueChanged(sub);
}

// --- layout and drawing ---

QRectF BandStrip::scaled(const QRectF& r) const {
    double sx = width() / kLayout.design.width(), sy = height() / kLayout.design.height();
    return QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy);
}

void BandStrip::createBoxes() {
    for (int s = 0; s < 3; ++s) {
        auto* b = new QLineEdit(this);
        b->setObjectName(QStringLiteral("box%1").arg(s));
        b->setAlignment(Qt::AlignCenter);
        b->setFrame(false);
        b->setText(m_texts[size_t(s)]);
        b->setReadOnly(!enabledForInput());
        b->setVisible(shown());
        QPalette pal = b->palette();
        pal.setColor(QPalette::Base, kBoxColour);
        pal.setColor(QPalette::Text, kTextColour);
        b->setPalette(pal);
        b->setAutoFillBackground(true);
        b->setTextMargins(0, 0, 0, 0);
        b->setContentsMargins(0, 0, 0, 0);
        b->installEventFilter(this);
        m_boxes[size_t(s)] = b;
    }
}

void BandStrip::relayout() {
    if (!m_boxes[0]) createBoxes();
    const Layout& r = kLayout;
    // Integer placement of the boxes, as the design rectangles scale.
    int w = width(), h = height();
    double dw = r.design.width(), dh = r.design.height();
    for (int s = 0; s < 3; ++s) {
        const QRectF& d = r.boxes[size_t(s)];
        QRect rect(QPoint(int(w * d.left() / dw), int(h * d.top() / dh)),
                   QPoint(int(w * d.right() / dw) - 1, int(h * d.bottom() / dh) - 1));
        m_boxes[size_t(s)]->setGeometry(rect);
    }
    int fontHeight =
        std::max(1, int(h * r.boxes[0].bottom() / dh) - int(h * r.boxes[0].top() / dh));
    QFont font = FontFaces::pixelFont(QStringLiteral("宋体"), fontHeight);
    for (QLineEdit* b : m_boxes) b->setFont(font);
    double sx = w / dw, sy = h / dh;
    m_trackX = r.trackX * sx;
    m_trackTop = r.trackTop * sy;
    m_trackBottom = r.trackBottom * sy;
    m_thumbWidth = r.thumb.width() * sx;
    m_thumbHeight = r.thumb.height() * sy;
    surface().invalidateBackground();
    invalidate();
}

void BandStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

double BandStrip::thumbCentre() const {
    double span = m_gainRange.maximum - m_gainRange.minimum;
    double gain = std::clamp(m_gain, m_gainRange.minimum, m_gainRange.maximum);
    return std::trunc(m_trackBottom -
                      (m_trackBottom - m_trackTop) * (gain + std::abs(m_gainRange.minimum)) / span +
                      0.5);
}

QRectF BandStrip::thumbRect() const {
    return QRectF(m_trackX - m_thumbWidth / 2 + 1, thumbCentre() - m_thumbHeight / 2, m_thumbWidth,
                  m_thumbHeight);
}

QRectF BandStrip::iconRect(int k) const {
    return scaled(kLayout.iconHits[size_t(std::clamp(k, 0, 2))]);
}

void BandStrip::compose() {
    surface().composeBackgroundOnly();
    QImage* picture = surface().composed().dc();
    if (!picture || !shown() || m_image.isNull()) return;
    const Layout& r = kLayout;
    QPainter p(picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    m_image.draw(p, QRectF(rect()), QRectF(QPointF(0, 0), r.design));
    int numberSize = std::max(1, int(width() * 12 / r.design.width()));
    p.setFont(FontFaces::pixelFont(QStringLiteral("Arial"), numberSize, true));
    p.setPen(QColor::fromRgba(focusedLook() ? kFocusedNumberColour : kNumberColour));
    p.drawText(scaled(r.bandNumber), Qt::AlignCenter, QString::number(m_index + 1));
    if (m_iconsShown) {
        m_image.draw(p, scaled(r.iconArea), r.iconSources[size_t(iconOfType(m_type))]);
    }
    QRectF thumb = thumbRect();
    m_image.draw(p, thumb, focusedLook() ? r.thumbFocusedSource : r.thumbSource);
    p.setFont(m_boxes[0] ? m_boxes[0]->font() : font());
    p.setPen(kTextColour);
    for (int s = 0; s < 3; ++s)
        p.drawText(scaled(r.boxes[size_t(s)]), Qt::AlignCenter, m_texts[size_t(s)]);
}

// --- input ---

void BandStrip::mousePressEvent(QMouseEvent* event) {
    if (!acceptsInput() || event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    QPointF at = event->position();
    double span = m_gainRange.maximum - m_gainRange.minimum;
    double h = std::trunc(m_trackBottom - (std::abs(m_gainRange.minimum) + m_gain) *
                                              (m_trackBottom - m_trackTop) / span);
    bool onTrackColumn = std::abs(at.x() - m_trackX) <= m_thumbWidth / 2;
    if (onTrackColumn && std::abs(at.y() - h) <= m_thumbHeight / 2) {
        beginDrag();
        showValue(BandValueText::Gain, m_gain);
        redrawNow();
        notify(BandValueText::Gain);
    } else {
        if (m_iconsShown) {
            for (int k = 0; k < 3; ++k) {
                if (iconRect(k).contains(at)) {
                    m_type = kTypeOfIcon[k];
                    notify(BandValueText::Type);
                    break;
                }
            }
        }
        if (onTrackColumn) {
            int step = 0;
            if (at.y() > m_trackTop - m_thumbHeight / 2 && at.y() < h) step = 1;
            if (at.y() > h && at.y() < m_trackBottom + m_thumbHeight / 2) step = -1;
            if (step != 0) {
                showValue(BandValueText::Gain,
                          BandValueText::quantise(BandValueText::Gain, m_gain, step, m_gainRange));
                notify(BandValueText::Gain);
            }
        }
    }
    setFocusedLook(true);
    invalidate();
}

void BandStrip::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void BandStrip::mouseMoveEvent(QMouseEvent* event) {
    if (!acceptsInput() || !dragging()) return;
    double y = event->position().y();
    double length = m_trackBottom - m_trackTop;
    if (!(length > 0)) return;
    double span = m_gainRange.maximum - m_gainRange.minimum;
    double gain = span * (m_trackTop + std::abs(m_gainRange.maximum) * length / span - y) / length;
    int g = static_cast<int>(std::trunc(std::clamp(gain, -1e6, 1e6) * 10));
    int unit = std::max(1, static_cast<int>(std::trunc(m_gainRange.step * 10)));
    gain = std::clamp((g + g % unit) / 10.0, m_gainRange.minimum, m_gainRange.maximum);
    showValue(BandValueText::Gain, gain);
    redrawNow();
    notify(BandValueText::Gain);
}

void BandStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (!acceptsInput() || event->button() != Qt::LeftButton || !dragging()) return;
    showValue(BandValueText::Gain, m_gain);
    invalidate();
    notify(BandValueText::Gain);
    endDrag();
}

void BandStrip::wheelEvent(QWheelEvent* event) {
    event->accept();
    int delta = event->angleDelta().y();
    if (delta == 0 || !acceptsInput()) return;
    int sub = m_focusedBox > 0 ? m_focusedBox - 1 : BandValueText::Gain;
    stepBox(sub, delta > 0 ? 1 : -1);
}

bool BandStrip::handleKey(QKeyEvent* event) {
    if (!acceptsInput()) return false;
    switch (event->key()) {
        case Qt::Key_Left:
            stepBox(BandValueText::Frequency, -1);
            return true;
        case Qt::Key_Right:
            stepBox(BandValueText::Frequency, 1);
            return true;
        case Qt::Key_Up:
            stepBox(BandValueText::Gain, 1);
            return true;
        case Qt::Key_Down:
            stepBox(BandValueText::Gain, -1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            int sub = m_focusedBox > 0 ? m_focusedBox - 1 : BandValueText::Gain;
            stepBox(sub, 0);
            return false;  // Enter goes on its way
        }
        default:
            return false;
    }
}

void BandStrip::keyPressEvent(QKeyEvent* event) {
    // Enter in a box was handled there and comes on here on its way out.
    bool fromBox = std::exchange(m_boxEnter, false);
    bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!(fromBox && enter) && handleKey(event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

int BandStrip::boxSub(QObject* object) const {
    for (int s = 0; s < 3; ++s) {
        if (m_boxes[size_t(s)] == object) return s;
    }
    return -1;
}

bool BandStrip::eventFilter(QObject* watched, QEvent* event) {
    int sub = boxSub(watched);
    if (sub < 0 || m_closing) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            m_boxEnter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            return handleKey(key);
        }
        case QEvent::FocusIn:
            m_focusedBox = sub + 1;
            invalidate();
            break;
        case QEvent::FocusOut:
            m_focusedBox = 0;
            m_boxEnter = false;
            if (acceptsInput()) stepBox(sub, 0);
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}
