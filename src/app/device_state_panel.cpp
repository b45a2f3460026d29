#include "app/device_state_panel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWheelEvent>

#include "link/transport_type.h"
#include "remote/remote_session.h"
#include "texts/device_state_texts.h"
#include "texts/remote_texts.h"

namespace {

constexpr QRgb kVeil = 0xC8080A0C;
constexpr QRgb kBox = 0xE0202830;
constexpr QRgb kText = 0xFFF0F0F0;

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

const TextTriple& noDeviceText(TransportType type) {
    switch (type) {
        case TransportType::UsbHid:
            return devicetext::NoDeviceUsb;
        case TransportType::Network:
            return devicetext::NoDeviceNetwork;
        case TransportType::Bluetooth:
            return devicetext::NoDeviceBluetooth;
        case TransportType::Relay:
            return devicetext::NoDeviceRelay;
        default:
            return devicetext::NoDeviceSerial;
    }
}

}  // namespace

DeviceStatePanel::DeviceStatePanel(QWidget* window)
    : QWidget(window), m_button(new QPushButton(this)) {
    setAttribute(Qt::WA_NoMousePropagation);
    m_noDevice.setSingleShot(true);
    m_noDevice.setInterval(kNoDeviceMs);
    connect(&m_noDevice, &QTimer::timeout, this, [this] { setState(State::NoDevice); });
    connect(m_button, &QPushButton::clicked, this, [this] {
        if (m_useUsb) m_useUsb();
    });
    m_noDevice.start();
    refresh();
}

void DeviceStatePanel::setState(State state) {
    bool searching = state == State::Searching;
    if (searching && (m_state == State::Searching || m_state == State::NoDevice)) return;
    m_state = state;
    if (searching)
        m_noDevice.start();
    else
        m_noDevice.stop();
    if (state != State::Reading) m_progress.clear();
    refresh();
}

void DeviceStatePanel::restartSearch() {
    m_state = State::Live;
    setState(State::Searching);
}

void DeviceStatePanel::setTransportType(TransportType type) {
    m_type = type;
    refresh();
}

void DeviceStatePanel::setProgressText(const QString& progress) {
    if (progress == m_progress) return;
    m_progress = progress;
    refresh();
}

void DeviceStatePanel::setUseUsbHandler(std::function<void()> handler) {
    m_useUsb = std::move(handler);
    refresh();
}

void DeviceStatePanel::setDaemonReach(int reach, const std::string& where) {
    m_daemonReach = reach;
    m_daemonWhere = where;
    refresh();
}

bool DeviceStatePanel::offersUsb() const {
    return m_useUsb && m_state == State::NoDevice &&
           (m_type == TransportType::Network || m_type == TransportType::Relay);
}

QString DeviceStatePanel::stateText() const {
    switch (m_state) {
        case State::Searching:
            return text(devicetext::Searching);
        case State::NoDevice:
            if (m_daemonReach == RemoteSession::NotReached)
                return QString::fromStdString(
                    formatText(remotetext::NotReached, m_daemonWhere.c_str()));
            return text(m_daemonReach < 0 ? noDeviceText(m_type) : remotetext::NoDevice);
        case State::Reading:
            return m_progress.isEmpty()
                       ? text(devicetext::Reading)
                       : text(devicetext::Reading) + QLatin1Char('\n') + m_progress;
        case State::Suspended:
            return text(devicetext::SuspendedHint);
        case State::Live:
            break;
    }
    return {};
}

void DeviceStatePanel::refresh() {
    m_message = stateText();
    m_button->setText(text(devicetext::UseUsb));
    m_button->adjustSize();
    m_button->setVisible(offersUsb());
    setVisible(m_state != State::Live);
    if (isVisible()) raise();
    resizeEvent(nullptr);
    update();
}

void DeviceStatePanel::resizeEvent(QResizeEvent*) {
    m_button->move((width() - m_button->width()) / 2, height() / 2 + height() / 8);
}

void DeviceStatePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgba(kVeil));
    QFont font = p.font();
    font.setPixelSize(std::max(12, height() / 30));
    p.setFont(font);
    QRect area(width() / 8, 0, width() * 3 / 4, height() / 2 + height() / 10);
    QRect box =
        p.boundingRect(area, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap, m_message);
    p.fillRect(box.adjusted(-16, -10, 16, 10), QColor::fromRgba(kBox));
    p.setPen(QColor::fromRgba(kText));
    p.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, m_message);
}

// Nothing under the panel may be edited: every press, release and turn of the wheel ends here.
void DeviceStatePanel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void DeviceStatePanel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void DeviceStatePanel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void DeviceStatePanel::wheelEvent(QWheelEvent* event) {
    event->accept();
}
