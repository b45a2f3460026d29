#pragma once

#include <QString>
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
    // Through qx7d the dialogs that need the device itself are refused with a word.
    void setThroughDaemon(bool through) { m_throughDaemon = through; }

    // While the routing page is open it takes the link's events and hands
    // the rest on.
    void openRouting(const EventHandler& handOn);
    // The test's own writes (and its silencing at the end) are no edits to undo.
    void openChannelTest();
    void openWifiSettings();
    void openFirmwareUpgrade();
    void chooseClient();
    void chooseDeviceId();
    // The relay server's word on the device: choose another ID, or "No device
    // found!", said once in the program's life.
    void relayStatus(int argument);
    // Unsent edits the link dropped: told once the event has been handled.
    void tellPendingDropped(int count);
    void showAbout();
    // A message with the program's Tip caption (or the one given) and OK.
    void tell(const QString& message, const QString& caption);
    void tell(const QString& message);
    // The caption's close button and Escape ask the same.
    bool askToExit();

private:
    QWidget& m_window;
    Link& m_link;
    ParameterBinding& m_binding;
    QtLinkUi& m_ui;
    FirmwareUpgrade* m_upgrade = nullptr;
    bool m_throughDaemon = false;
    bool m_noDeviceShown = false;

    bool refusedThroughDaemon();
};
