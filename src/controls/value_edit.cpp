#include "controls/value_edit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "filter/slider_scale.h"
#include "filter/typed_value.h"
#include "platform/qt/font_faces.h"

namespace {

constexpr QRgb kOuterFrame = 0xFF646464;
constexpr QRgb kInnerFrame = 0xFF6E6E6E;
constexpr int kDimAlpha = 150;
constexpr int kInset = 2;

}  // namespace

ValueEdit::ValueEdit(QWidget* parent) : SkinControl(parent) {
    m_font = FontFaces::pixelFont(QStringLiteral("宋体"), m_fontHeight);
}

void ValueEdit::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    invalidate();
}

void ValueEdit::setFormat(const QString& format) {
    m_format = format;
    invalidate();
}

void ValueEdit::setTextColour(QRgb colour) {
    m_textColour = colour;
    applyEditColours();
    invalidate();
}

void ValueEdit::setEditable(bool editable) {
    m_editable = editable;
    if (m_edit) {
        m_edit->setReadOnly(!editable);
        m_edit->setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
    }
    applyEditColours();
    invalidate();
}

void ValueEdit::setColours(QRgb normal, QRgb focused) {
    m_normalColour = normal;
    m_focusedColour = focused;
    invalidate();
}

void ValueEdit::setTextFont(int height, const QString& face) {
    m_fontHeight = std::max(height, 1);
    m_font = FontFaces::pixelFont(face, m_fontHeight);
    if (m_edit) m_edit->setFont(m_font);
    invalidate();
    repaint();
}

void ValueEdit::setValue(double x) {
    m_value = TypedValue::scale(x, 1, m_minimum, m_maximum);
    showValue();
    redrawNow();
}

QString ValueEdit::text() const {
    if (m_format.isEmpty()) return {};
    std::string shown = SliderScale::formatLabel(m_format.toStdString(), double(m_value));
    return QString::fromStdString(shown);
}

std::optional<int> ValueEdit::readTyped() const {
    QString typed = m_edit ? m_edit->text() : text();
    return TypedValue::parse(typed.toStdString(), 1, m_minimum, m_maximum);
}

void ValueEdit::notify() {
    emit valueChanged(m_value);
}

void ValueEdit::showValue() {
    if (m_edit && m_edit->text() != text()) m_edit->setText(text());
}

// --- the inner edit ---

// The inner edit is made at the first layout and sits 2 pixels inside the face.
void ValueEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    QRect inner = rect().adjusted(kInset, kInset, -kInset, -kInset);
    if (!m_edit) {
        m_edit = new QLineEdit(this);
        m_edit->setObjectName(QStringLiteral("edit"));
        m_edit->setFrame(false);
        m_edit->setAlignment(Qt::AlignCenter);
        m_edit->setFont(m_font);
        m_edit->setAttribute(Qt::WA_TranslucentBackground);
        m_edit->setAutoFillBackground(false);
        m_edit->installEventFilter(this);
        setFocusProxy(m_edit);
        setEditable(m_editable);
        showValue();
        m_edit->show();
    }
    m_edit->setGeometry(inner);
    surface().invalidateBackground();
    invalidate();
}

void ValueEdit::applyEditColours() {
    if (!m_edit) return;
    QPalette pal = m_edit->palette();
    QColor text = QColor::fromRgba(m_textColour);
    if (!m_editable) text.setAlpha(110);
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::Base, Qt::transparent);
    pal.setColor(QPalette::Window, Qt::transparent);
    m_edit->setPalette(pal);
}

bool ValueEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_edit) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) return cancelTyping();
            return stepKey(static_cast<QKeyEvent*>(event)->key());
        case QEvent::Wheel:
            wheelEvent(static_cast<QWheelEvent*>(event));
            return true;
        case QEvent::FocusIn:
            focusGained();
            break;
        case QEvent::FocusOut:
            focusLost();
            break;
        default:
            break;
    }
    return false;
}

// Escape puts the value back and goes no further: it never reaches the window.
bool ValueEdit::cancelTyping() {
    showValue();
    redrawNow();
    return true;
}

// Up, down and Enter are the control's own; other keys go to the edit.
bool ValueEdit::stepKey(int key) {
    int step = key == Qt::Key_Up ? 1 : key == Qt::Key_Down ? -1 : 0;
    if (step == 0 && key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (!m_editable) return true;
    std::optional<int> typed = readTyped();
    if (!typed && step == 0) {
        showValue();
        return true;
    }
    m_value = std::clamp(typed.value_or(m_value) + step, m_minimum, m_maximum);
    notify();
    showValue();
    redrawNow();
    return true;
}

void ValueEdit::wheelStep(int delta) {
    if (!m_editable || delta == 0) return;
    m_value =
        std::clamp(readTyped().value_or(m_value) + (delta > 0 ? 1 : -1), m_minimum, m_maximum);
    notify();
    showValue();
    redrawNow();
}

void ValueEdit::wheelEvent(QWheelEvent* event) {
    event->accept();
    wheelStep(event->angleDelta().y());
}

void ValueEdit::mousePressEvent(QMouseEvent* event) {
    if (m_editable && m_edit && event->button() == Qt::LeftButton)
        m_edit->setFocus(Qt::MouseFocusReason);
}

void ValueEdit::focusGained() {
    setFocusedLook(true);
    m_value = readTyped().value_or(m_value);
    invalidate();
    notify();
}

void ValueEdit::focusLost() {
    setFocusedLook(false);
    // Text that is not a number gives way to the value already held.
    int typed = readTyped().value_or(m_value);
    bool changed = typed != m_value;
    m_value = typed;
    showValue();
    invalidate();
    if (changed) notify();
}

// --- drawing ---

void ValueEdit::compose() {
    m_value = std::clamp(m_value, m_minimum, m_maximum);
    QImage* picture = surface().composeOnBackground(this);
    if (!picture) return;
    QPainter p(picture);
    QColor face = QColor::fromRgb(focusedLook() ? m_focusedColour : m_normalColour);
    p.fillRect(rect(), face);
    p.setPen(QColor::fromRgba(kOuterFrame));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor::fromRgba(kInnerFrame));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
    // The edit shows the text on screen; a page drawn in one pass gets it here.
    if (!m_edit || !m_edit->isVisible()) {
        p.setFont(m_font);
        p.setPen(QColor::fromRgba(m_textColour));
        p.drawText(rect().adjusted(kInset, kInset, -kInset, -kInset), Qt::AlignCenter, text());
    }
    if (!m_editable) {
        face.setAlpha(kDimAlpha);
        p.fillRect(rect(), face);
    }
}
