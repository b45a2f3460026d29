#pragma once

#include <functional>

class FirmwareUpgrade;
class Link;
class ParameterBinding;
class QtLinkUi;
class QWidget;

// The main window's modal dialogs, each run to its end before the call
// returns.
class WindowDialogs {
public:
    using EventHandler = std::function<void(int code, int argument)>;

    WindowDialogs(QWidget& window, Link& link, ParameterBinding& binding, QtLinkUi& ui);

    void setFirmwareUpgrade(FirmwareUpgrade* upgrade) { m_upgrade = upgrade; }

    // While the routing page is open it takes the link's events and hands
    // the rest on.
    void openRouting(const EventHandler& handOn);
    // The test's own writes (and its silencing at the end) are no edits to undo.
    void openChannelTest();
    void openWifiSettings();
    void openFirmwareUpgrade();
    void chooseClient();
    void chooseDeviceId();
    void showAbout();

private:
    QWidget& m_window;
    Link& m_link;
    ParameterBinding& m_binding;
    QtLinkUi& m_ui;
    FirmwareUpgrade* m_upgrade = nullptr;
};
