#include "pages/wifi_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "files/settings.h"
#include "link/link.h"
#include "link/module_requests.h"
#include "link/module_table.h"
#include "link/transport_type.h"
#include "platform/qt/message_box.h"
#include "texts/device_state_texts.h"
#include "texts/language.h"
#include "texts/wifi_dialog_texts.h"

namespace {

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

// The button texts carry a tab that centred the second line on the old
// buttons; Qt centres by itself.
QString buttonText(const TextTriple& t) {
    return text(t).remove(QLatin1Char('\t'));
}

struct TextSlot {
    int slot;
    const char* prefix;
    int edit;  // hotspot SSID, hotspot password, router SSID, router password
};

constexpr TextSlot kTextSlots[] = {
    {ModuleTable::RouterSsid, "Get_RouteSSID:", 2},
    {ModuleTable::RouterPassword, "Get_RoutePW:", 3},
    {ModuleTable::HotspotSsid, "Get_HotSSID:", 0},
    {ModuleTable::HotspotPassword, "Get_HotPW:", 1},
};

constexpr int kLastShownSlot = 13;

}  // namespace

WifiDialog::WifiDialog(Link& link, QWidget* parent) : QDialog(parent), m_link(link) {
    createControls();
    connect(&m_timer, &QTimer::timeout, this, [this] { refresh(); });
}

void WifiDialog::createControls() {
    auto* setup = new QGroupBox(text(wifitext::WifiSetup), this);
    auto* grid = new QGridLayout(setup);
    const TextTriple* labels[] = {&wifitext::HotspotSsidLabel, &wifitext::HotspotPasswordLabel,
                                  &wifitext::RouterSsidLabel, &wifitext::RouterPasswordLabel};
    for (int i = 0; i < 4; ++i) {
        m_edits[i] = new QLineEdit(setup);
        grid->addWidget(new QLabel(text(*labels[i]), setup), i, 0);
        grid->addWidget(m_edits[i], i, 1, 1, 3);
    }
    // Passwords are masked unless the user asks to see them.
    for (QLineEdit* password : {m_edits[1], m_edits[3]}) password->setEchoMode(QLineEdit::Password);
    m_showPasswords = new QCheckBox(text(devicetext::ShowPasswords), setup);
    grid->addWidget(m_showPasswords, 7, 1, 1, 3);
    connect(m_showPasswords, &QCheckBox::toggled, this, [this](bool shown) {
        for (QLineEdit* password : {m_edits[1], m_edits[3]})
            password->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    });
    m_address = new QLineEdit(setup);
    m_address->setReadOnly(true);
    m_address->setEnabled(false);
    grid->addWidget(new QLabel(text(wifitext::IpLabel), setup), 4, 0);
    grid->addWidget(m_address, 4, 1, 1, 3);
    const TextTriple* modes[] = {&wifitext::ModeHotspot, &wifitext::ModeRouter,
                                 &wifitext::Internet};
    for (int i = 0; i < 3; ++i) {
        m_modes[i] = new QRadioButton(text(*modes[i]), setup);
        m_modes[i]->setAutoExclusive(false);
        grid->addWidget(m_modes[i], 5, 1 + i);
        connect(m_modes[i], &QRadioButton::clicked, this, [this, i] { modeClicked(i + 1); });
    }
    m_setHotspot = new QPushButton(buttonText(wifitext::SetHotspot), setup);
    m_setRouter = new QPushButton(buttonText(wifitext::SetRouter), setup);
    m_readAgain = new QPushButton(buttonText(wifitext::ReadAgain), setup);
    grid->addWidget(m_setHotspot, 6, 1);
    grid->addWidget(m_setRouter, 6, 2);
    grid->addWidget(m_readAgain, 6, 3);
    connect(m_setHotspot, &QPushButton::clicked, this, [this] { setHotspot(); });
    connect(m_setRouter, &QPushButton::clicked, this, [this] { setRouter(); });
    connect(m_readAgain, &QPushButton::clicked, this, [this] { readAgain(); });

    auto* pc = new QGroupBox(text(wifitext::PcConnection), this);
    auto* row = new QHBoxLayout(pc);
    const QString pcTexts[] = {QStringLiteral("USB"), text(wifitext::Lan),
                               text(wifitext::Internet)};
    for (int i = 0; i < 3; ++i) {
        m_pc[i] = new QRadioButton(pcTexts[i], pc);
        m_pc[i]->setAutoExclusive(false);
        row->addWidget(m_pc[i]);
        connect(m_pc[i], &QRadioButton::clicked, this, [this, i] { pcClicked(i); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(setup);
    layout->addWidget(pc);
}

void WifiDialog::setTexts() {
    uint32_t id = m_link.device().deviceIdNumber();
    setWindowTitle(id != 0 ? text(wifitext::DeviceIdTitle) + QString::asprintf(":%0X", id)
                           : text(wifitext::DeviceIdFailed));
    TransportType type = m_link.state().transportType;
    for (int i = 0; i < 3; ++i) m_pc[i]->setChecked(type == kPcConnections[i]);
}

void WifiDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refresh();
    m_timer.start(kRefreshMs);
    ModuleRequests(m_link.module()).queueReadSet();
    setTexts();
}

void WifiDialog::hideEvent(QHideEvent* event) {
    m_timer.stop();
    QDialog::hideEvent(event);
}

void WifiDialog::refresh() {
    ModuleTable& table = m_link.module();
    for (int slot = 0; slot <= kLastShownSlot; ++slot) {
        if (!table.replied(slot)) continue;
        if (slot == ModuleTable::Ip)
            m_address->setText(QString::fromStdString(
                ModuleTable::dotted(static_cast<uint32_t>(table.value(slot)))));
        if (slot == ModuleTable::WifiMode) showMode(table.value(slot));
        for (const TextSlot& t : kTextSlots) {
            if (t.slot != slot) continue;
            if (auto after = table.textAfter(slot, t.prefix))
                m_edits[t.edit]->setText(QString::fromStdString(*after));
        }
        table.setReplied(slot, false);
    }
}

void WifiDialog::showMode(int mode) {
    int checked =
        mode == ModuleRequests::Router || mode == ModuleRequests::RelayServer ? mode - 1 : 0;
    for (int i = 0; i < 3; ++i) m_modes[i]->setChecked(i == checked);
    bool hotspot = checked == 0;
    for (QWidget* w : {static_cast<QWidget*>(m_edits[0]), static_cast<QWidget*>(m_edits[1]),
                       static_cast<QWidget*>(m_setHotspot)})
        w->setEnabled(hotspot);
    for (QWidget* w : {static_cast<QWidget*>(m_edits[2]), static_cast<QWidget*>(m_edits[3]),
                       static_cast<QWidget*>(m_setRouter)})
        w->setEnabled(!hotspot);
}

bool WifiDialog::askRouterMode() {
    return MessageBox::show(this, {text(wifitext::RouterModeQuestion), windowTitle(),
                                   Language::index(), MessageBox::Buttons::YesNo}) ==
           MessageBox::Answer::Yes;
}

void WifiDialog::modeClicked(int mode) {
    ModuleTable& table = m_link.module();
    if (mode != ModuleRequests::Hotspot && !askRouterMode()) {
        // The next refresh puts the radios back from the module's mode.
        table.setReplied(ModuleTable::WifiMode, true);
        return;
    }
    ModuleRequests requests(table);
    requests.setMode(mode);
    showMode(mode);
    // Without a relay server in the settings the module keeps the domain it has.
    std::string relay = ModuleRequests::relayHost();
    if (mode == ModuleRequests::RelayServer && !relay.empty())
        requests.setDomainUnlessReported(relay);
}

void WifiDialog::say(const QString& message) {
    MessageBox::show(this, {message, windowTitle(), Language::index(), MessageBox::Buttons::Ok});
}

void WifiDialog::setHotspot() {
    ModuleRequests::Refusal refusal =
        ModuleRequests(m_link.module())
            .setHotspot(hotspotSsid().text().toStdString(), hotspotPassword().text().toStdString());
    if (refusal == ModuleRequests::Refusal::SsidEmpty) say(text(wifitext::SsidEmpty));
    if (refusal == ModuleRequests::Refusal::PasswordTooShort) say(text(wifitext::PasswordTooShort));
}

void WifiDialog::setRouter() {
    ModuleRequests::Refusal refusal =
        ModuleRequests(m_link.module())
            .setRouter(routerSsid().text().toStdString(), routerPassword().text().toStdString());
    if (refusal == ModuleRequests::Refusal::SsidEmpty) say(text(wifitext::SsidEmpty));
}

void WifiDialog::readAgain() {
    m_modes[0]->setChecked(false);
    m_modes[1]->setChecked(false);
    for (QLineEdit* e : m_edits) e->clear();
    ModuleRequests(m_link.module()).queueReadSet();
}

// Asked first: the next start of the program looks for the device that way only.
void WifiDialog::pcClicked(int i) {
    std::string choice = m_pc[i]->text().toStdString();
    QString question =
        QString::fromStdString(formatText(devicetext::PcConnectionQuestion, choice.c_str()));
    bool agreed =
        MessageBox::show(this, {question, windowTitle(), Language::index(),
                                MessageBox::Buttons::OkCancel}) == MessageBox::Answer::Yes;
    if (agreed) {
        Settings().writeInt(ModuleRequests::kSettings, ModuleRequests::kConnectionKey,
                            settingOf(kPcConnections[i]));
        say(text(wifitext::RestartToApply));
    }
    int checked = agreed ? i : storedPcChoice();
    for (int k = 0; k < 3; ++k) m_pc[k]->setChecked(k == checked);
}

int WifiDialog::storedPcChoice() const {
    int stored = Settings().readInt(ModuleRequests::kSettings, ModuleRequests::kConnectionKey);
    for (int k = 0; k < 3; ++k)
        if (settingOf(kPcConnections[k]) == stored) return k;
    return 0;
}
