#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "link/transport_type.h"

class QPushButton;

// Lies over the header's controls and the pages while the device's values are
// not known or the link is suspended: it dims them, takes every mouse and
// wheel event meant for them and says why, with what to check when no device
// is found. Hidden while the link is live and read.
class DeviceStatePanel : public QWidget {
public:
    enum class State { Live, Searching, NoDevice, Reading, Suspended };
    static constexpr int kNoDeviceMs = 5000;

    explicit DeviceStatePanel(QWidget* window);

    // Searching turns into NoDevice after the delay, unless the state changes
    // first; a search that goes on keeps its clock.
    void setState(State state);
    // A new search, on another transport: the clock starts again.
    void restartSearch();
    State state() const { return m_state; }
    // The way of connecting that is searched (transport type).
    void setTransportType(TransportType type);
    void setNoDeviceDelay(int ms) { m_noDevice.setInterval(ms); }
    // Shown under "Reading device…".
    void setProgressText(const QString& progress);
    // Offered when nothing was found on the network or through a relay server.
    // Without a handler nothing is offered.
    void setUseUsbHandler(std::function<void()> handler);
    // Through qx7d, why nothing is found: qx7d not reached at where, or qx7d
    // without a device (RemoteSession::Reach); said instead of the transport's hint.
    void setDaemonReach(int reach, const std::string& where);
    QPushButton& useUsbButton() { return *m_button; }
    QString message() const { return m_message; }
    void refresh();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QString stateText() const;
    bool offersUsb() const;

    State m_state = State::Searching;
    TransportType m_type = TransportType::UsbHid;
    QString m_progress;
    QString m_message;
    int m_daemonReach = -1;  // none: the transport's hint
    std::string m_daemonWhere;
    QTimer m_noDevice;
    QPushButton* m_button;
    std::function<void()> m_useUsb;
};
