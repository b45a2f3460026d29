#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/device_state_panel.h"
#include "app/page_stack.h"
#include "app/title_buttons.h"
#include "app/window_dialogs.h"
#include "binding/page_number.h"
#include "binding/parameter_binding.h"
#include "controls/skin_button.h"
#include "controls/skin_label.h"
#include "resources/drawing_surface.h"
#include "texts/text_triple.h"

class FirmwareUpgrade;
class GraphMenu;
class InstanceLock;
class Link;
class EqualiserPage;
class MainHeader;
class OutputPage;
class PresetJobs;
class SystemPage;
class QtLinkUi;
class RemoteSession;
class UndoControl;
class WindowCaption;
class WindowShortcuts;

// The main window: a frameless skinned window of design size 1077 x 681 with
// a caption band, the window and status buttons, the header and the page
// stack. It starts the link, follows its events and ends the program when
// the user confirms. Between the pages and the parameter mirror stands the
// binding: a changed field is written to the device, a reported value
// reaches its field.
class MainWindow : public QWidget {
public:
    static constexpr int kDesignWidth = 1077;
    static constexpr int kDesignHeight = 681;
    static constexpr const char* kInstanceName = "VX510_PC_xxxx";

    MainWindow(Link& link, QtLinkUi& ui);
    ~MainWindow() override;

    // The start-up sequence. False when this process must end now (another
    // copy runs); exitCode() then says with what.
    bool start();
    int exitCode() const { return m_exitCode; }
    // The lock that keeps a second copy away; an update hands it over.
    InstanceLock* instanceLock() const { return m_instance.get(); }

    // Shows page i and hides the others; none shows for an i outside the pages.
    void selectPage(int i) { m_pages->select(i); }
    // Every text in the language now chosen.
    void refreshLanguage();
    // A link event, as the link's user interface hands it over.
    void linkEvent(int code, int argument);

    // How the program ends after a confirmed exit or Escape; by default the
    // application's event loop is left with the code.
    void setExitHandler(std::function<void(int)> handler) { m_exit = std::move(handler); }

    // Ctrl+U opens the firmware upgrade dialog once the upgrade is given.
    void setFirmwareUpgrade(FirmwareUpgrade* upgrade);
    void openFirmwareUpgrade() { m_dialogs.openFirmwareUpgrade(); }
    // Through qx7d: the mode and file jobs go to it, and what it does not
    // offer is refused with a word. Before start.
    void setRemote(RemoteSession* remote) {
        m_remote = remote;
        m_dialogs.setThroughDaemon(remote != nullptr);
    }

    SkinButton& titleButton(int i) { return m_titleButtons->button(i); }
    SkinButton& navigationButton(int i) { return m_pages->navigationButton(i); }
    QWidget& page(int i) { return m_pages->page(i); }
    // Pages 0 to 4.
    OutputPage& outputPage(int i) { return m_pages->outputPage(i); }
    // Pages 5 to 8.
    EqualiserPage& equaliserPage(int i) { return m_pages->equaliserPage(i); }
    SystemPage& systemPage() { return m_pages->systemPage(); }
    // Modal: the routing page takes the link events while it is open; the
    // channel test silences every channel when it closes.
    void openRouting();
    void openChannelTest() { m_dialogs.openChannelTest(); }
    // Modal; also on Ctrl+W and in the caption's context menu.
    void openWifiSettings() { m_dialogs.openWifiSettings(); }
    MainHeader& header() { return *m_header; }
    SkinLabel& titleLabel();
    ParameterBinding& binding() { return m_binding; }
    UndoControl& undoControl() { return *m_undo; }
    GraphMenu& graphMenu() { return *m_graphMenu; }
    // The device's values changed under the undo history (a recalled mode, a
    // sent mode file): forget it and tell the user why.
    void clearUndoHistory(const TextTriple& reason);
    DrawingSurface& background() { return m_background; }
    // Over the header and the pages until the device's values are known.
    DeviceStatePanel& statePanel() { return *m_statePanel; }
    // Live and read: the controls that write the device take input.
    bool deviceLive() const { return m_statePanel->state() == DeviceStatePanel::State::Live; }
    double s() const { return m_s; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool enforceSingleInstance();
    void createPages();
    void createActions();
    void layout();
    void connectionState(int argument);
    // The one place where input to the device is opened and closed.
    void setDeviceState(DeviceStatePanel::State state);
    void showStatus();
    void showProgress();
    void switchToUsb();
    void toggleSuspend();
    void controlChanged(int page, int field);
    void shutdown();

    Link& m_link;
    QtLinkUi& m_ui;
    std::unique_ptr<InstanceLock> m_instance;
    DrawingSurface m_background;
    TitleButtons* m_titleButtons;  // children of the window
    PageStack* m_pages;
    ParameterBinding m_binding;
    std::unique_ptr<PresetJobs> m_presetJobs;
    RemoteSession* m_remote = nullptr;
    std::unique_ptr<MainHeader> m_header;
    std::unique_ptr<UndoControl> m_undo;
    std::unique_ptr<GraphMenu> m_graphMenu;
    DeviceStatePanel* m_statePanel;  // a child of the window
    WindowCaption* m_caption = nullptr;
    WindowShortcuts* m_shortcuts = nullptr;
    QTimer m_progressPoll;
    bool m_suspended = false;
    double m_sx = 1.0;
    double m_sy = 1.0;
    double m_s = 1.0;
    bool m_painted = false;
    bool m_laidOut = false;
    int m_exitCode = 0;
    std::function<void(int)> m_exit;
    WindowDialogs m_dialogs;
};
