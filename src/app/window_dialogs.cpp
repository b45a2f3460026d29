#include "app/window_dialogs.h"

#include "app/about_text.h"
#include "app/firmware_upgrade_dialog.h"
#include "app/qt_link_ui.h"
#include "binding/parameter_binding.h"
#include "binding/parameter_index.h"
#include "link/link.h"
#include "pages/channel_test_dialog.h"
#include "pages/client_list_dialog.h"
#include "pages/device_id_dialog.h"
#include "pages/routing_page.h"
#include "pages/wifi_dialog.h"

WindowDialogs::WindowDialogs(QWidget& window, Link& link, ParameterBinding& binding, QtLinkUi& ui)
    : m_window(window), m_link(link), m_binding(binding), m_ui(ui) {}

void WindowDialogs::openRouting(const EventHandler& handOn) {
    RoutingPage page(m_binding, m_link.mirror(), &m_window);
    page.setEventPasser(handOn);
    m_ui.setEventTarget(&page, [&page](int code, int argument) { page.linkEvent(code, argument); });
    page.exec();
    m_ui.setEventTarget(nullptr);
}

void WindowDialogs::openChannelTest() {
    m_binding.setRecording(false);
    {
        ChannelTestDialog dialog(m_binding, m_link.mirror(), &m_window);
        dialog.exec();
    }
    m_binding.setRecording(true);
}

void WindowDialogs::openWifiSettings() {
    WifiDialog dialog(m_link, &m_window);
    dialog.exec();
}

void WindowDialogs::openFirmwareUpgrade() {
    if (!m_upgrade) return;
    FirmwareUpgradeDialog dialog(*m_upgrade, &m_window);
    dialog.exec();
}

void WindowDialogs::chooseClient() {
    ClientListDialog dialog(m_link.module().clients(), &m_window);
    if (dialog.exec() == QDialog::Accepted) m_link.state().networkDeviceAddress = dialog.chosen();
}

void WindowDialogs::chooseDeviceId() {
    DeviceIdDialog dialog(&m_window);
    if (dialog.exec() == QDialog::Accepted) m_link.state().chosenDeviceId = dialog.deviceId();
}

void WindowDialogs::showAbout() {
    QString body = AboutText::text(m_link.mirror().value(parameterIndex::DecodedLayout),
                                   m_link.device().version.load());
    m_link.message(body.toStdString(), AboutText::caption().toStdString());
}
