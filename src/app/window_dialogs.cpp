#include "app/window_dialogs.h"

#include <QTimer>

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
#include "platform/qt/message_box.h"
#include "texts/device_state_texts.h"
#include "texts/language.h"
#include "texts/remote_texts.h"
#include "texts/ui_texts.h"

namespace {

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

}  // namespace

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
    if (refusedThroughDaemon()) return;
    m_binding.setRecording(false);
    {
        ChannelTestDialog dialog(m_binding, m_link.mirror(), &m_window);
        dialog.exec();
    }
    m_binding.setRecording(true);
}

void WindowDialogs::openWifiSettings() {
    if (refusedThroughDaemon()) return;
    WifiDialog dialog(m_link, &m_window);
    dialog.exec();
}

void WindowDialogs::openFirmwareUpgrade() {
    if (refusedThroughDaemon() || !m_upgrade) return;
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

void WindowDialogs::tell(const QString& message, const QString& caption) {
    MessageBox::show(&m_window, {message, caption, Language::index(), MessageBox::Buttons::Ok});
}

void WindowDialogs::tell(const QString& message) {
    tell(message, text(uitext::Tip));
}

bool WindowDialogs::askToExit() {
    return MessageBox::show(&m_window, {text(uitext::ExitQuestion), text(uitext::Tip),
                                        Language::index(), MessageBox::Buttons::YesNo}) ==
           MessageBox::Answer::Yes;
}

bool WindowDialogs::refusedThroughDaemon() {
    if (m_throughDaemon) tell(text(remotetext::NotThroughDaemon), QStringLiteral("QX7"));
    return m_throughDaemon;
}

void WindowDialogs::relayStatus(int argument) {
    if (argument != 0) {
        chooseDeviceId();
    } else if (!m_noDeviceShown) {
        m_noDeviceShown = true;
        m_link.message(std::string("No device found!"));
    }
}

void WindowDialogs::tellPendingDropped(int count) {
    QString message = QString::fromStdString(formatText(devicetext::PendingDropped.get(), count));
    QTimer::singleShot(0, &m_window, [this, message] { tell(message); });
}
