#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <optional>

#include "files/settings.h"
#include "link/link.h"
#include "link/module_requests.h"
#include "link/module_table.h"
#include "pages/client_list_dialog.h"
#include "pages/device_id_dialog.h"
#include "pages/wifi_dialog.h"
#include "platform/clock.h"
#include "platform/qt/message_box.h"
#include "support/qt_wait.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"

namespace {

class WifiDialogsTest : public testing::Test {
protected:
    void SetUp() override {
        Settings::overrideFolders(temp.folder("program"), temp.folder("user"));
        MessageBox::setObserver([this](const MessageBox::Request& r) {
            boxes.push_back(r.text.toStdString());
            return std::optional(answer);
        });
    }
    void TearDown() override {
        MessageBox::setObserver(nullptr);
        Settings::overrideFolders("", "");
    }

    void reply(const std::string& text) {
        link.module().parse(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    }
    std::unique_ptr<WifiDialog> shownDialog() {
        auto dialog = std::make_unique<WifiDialog>(link, nullptr);
        dialog->show();
        processQueued();
        return dialog;
    }
    std::vector<int> queuedSlots() {
        std::vector<int> queued;
        for (int s = 0; s < ModuleTable::kSlots; ++s)
            if (link.module().queued(s)) queued.push_back(s);
        return queued;
    }

    TempFolder temp;
    RecordingUi ui;
    Link link{ui, Clock::system()};
    std::vector<std::string> boxes;
    MessageBox::Answer answer = MessageBox::Answer::Yes;
};

}  // namespace

TEST_F(WifiDialogsTest, ShowingReadsTheModuleAndRepliesFillTheControls) {
    auto dialog = shownDialog();
    EXPECT_EQ(queuedSlots(), (std::vector<int>{0, 2, 5, 6, 7, 8}));
    EXPECT_TRUE(dialog->following());
    EXPECT_EQ(dialog->windowTitle(), "Get device ID Failed");
    EXPECT_TRUE(dialog->pcRadio(0).isChecked());

    for (const char* r : {"Get_IP:C0A80401\r\n", "Get_WiFiMode:2\r\n", "Get_HotSSID:Den\r\n",
                          "Get_HotPW:12345678\r\n", "Get_RouteSSID:Home\r\n", "Get_RoutePW:\r\n"})
        reply(r);
    dialog->refresh();
    EXPECT_EQ(dialog->address().text(), "192.168.4.1");
    EXPECT_FALSE(dialog->address().isEnabled());
    EXPECT_EQ(dialog->hotspotSsid().text(), "Den");
    EXPECT_EQ(dialog->hotspotPassword().text(), "12345678");
    EXPECT_EQ(dialog->hotspotPassword().echoMode(), QLineEdit::Password);
    dialog->showPasswords().click();
    EXPECT_EQ(dialog->routerPassword().echoMode(), QLineEdit::Normal);
    EXPECT_EQ(dialog->routerSsid().text(), "Home");
    EXPECT_TRUE(dialog->modeRadio(1).isChecked());
    EXPECT_FALSE(dialog->modeRadio(0).isChecked());
    EXPECT_TRUE(dialog->routerSsid().isEnabled());
    EXPECT_FALSE(dialog->setHotspotButton().isEnabled());
    EXPECT_FALSE(link.module().replied(ModuleTable::Ip));

    dialog->hide();
    EXPECT_FALSE(dialog->following());
}

TEST_F(WifiDialogsTest, HotspotAndRouterButtonsKeepTheRules) {
    struct Case {
        bool hotspot;
        const char* ssid;
        const char* password;
        std::vector<std::string> boxes;
        std::vector<int> queued;
    };
    const std::vector<Case> cases = {
        {true,
         "Den",
         "1234567",
         {"Password cannot be less than eight!"},
         {ModuleTable::SetHotspotSsid}},
        {true, "", "12345678", {"SSID can't be empty!"}, {}},
        {true, "Den", "", {}, {ModuleTable::SetHotspotSsid, ModuleTable::SetHotspotPassword}},
        {false, "", "x", {"SSID can't be empty!"}, {}},
        {false, "Home", "x", {}, {ModuleTable::SetRouterSsid, ModuleTable::SetRouterPassword}},
    };
    for (const Case& c : cases) {
        link.module().clear();
        boxes.clear();
        WifiDialog dialog(link, nullptr);
        (c.hotspot ? dialog.hotspotSsid() : dialog.routerSsid()).setText(c.ssid);
        (c.hotspot ? dialog.hotspotPassword() : dialog.routerPassword()).setText(c.password);
        (c.hotspot ? dialog.setHotspotButton() : dialog.setRouterButton()).click();
        EXPECT_EQ(boxes, c.boxes) << c.ssid << "/" << c.password;
        EXPECT_EQ(queuedSlots(), c.queued) << c.ssid << "/" << c.password;
    }
}

TEST_F(WifiDialogsTest, ModeRadiosAskBeforeLeavingTheHotspot) {
    Settings().writeText("WIFI_Mode", ModuleRequests::kRelayServerKey, "relay.example.test:11742");
    auto dialog = shownDialog();
    reply("Get_WiFiMode:1");
    reply("Get_Domain:relay.elsewhere.net");
    dialog->refresh();

    answer = MessageBox::Answer::No;
    dialog->modeRadio(1).click();
    EXPECT_FALSE(link.module().queued(ModuleTable::SetWifiMode));
    dialog->refresh();
    EXPECT_TRUE(dialog->modeRadio(0).isChecked());
    EXPECT_FALSE(dialog->modeRadio(1).isChecked());

    answer = MessageBox::Answer::Yes;
    dialog->modeRadio(2).click();
    EXPECT_EQ(link.module().text(ModuleTable::SetWifiMode), "Set_WiFiMode:3");
    EXPECT_EQ(link.module().text(ModuleTable::SetDomain), "Set_Domain:relay.example.test");
    EXPECT_TRUE(dialog->modeRadio(2).isChecked());
    EXPECT_TRUE(dialog->routerSsid().isEnabled());

    dialog->readAgainButton().click();
    EXPECT_FALSE(dialog->modeRadio(0).isChecked());
    EXPECT_TRUE(dialog->routerSsid().text().isEmpty());

    // The PC connection is asked first; Cancel keeps the stored one.
    answer = MessageBox::Answer::No;
    dialog->pcRadio(1).click();
    EXPECT_EQ(
        boxes.back(),
        "Change the PC connection to LAN? It takes effect when the program is started again.");
    EXPECT_EQ(Settings().readInt("WIFI_Mode", "m_COM_MdoeIO"), -1);
    EXPECT_TRUE(dialog->pcRadio(0).isChecked());
    EXPECT_FALSE(dialog->pcRadio(1).isChecked());
    answer = MessageBox::Answer::Yes;
    dialog->pcRadio(1).click();
    EXPECT_EQ(Settings().readInt("WIFI_Mode", "m_COM_MdoeIO"), 2);
    EXPECT_EQ(boxes.back(), "Modify success, restart the software to work!");
    EXPECT_FALSE(dialog->pcRadio(0).isChecked());
    EXPECT_TRUE(dialog->pcRadio(1).isChecked());
}

TEST_F(WifiDialogsTest, DeviceIdDialogRemembersAndClears) {
    Settings s;
    s.writeInt("WIFI_Mode", "Device_IDMemory", 1);
    for (int id : {0xBC614E, 0, 0x1234}) s.addToList("WIFI_Mode", "Device_IDS", id);
    s.writeInt("WIFI_Mode", "Device_ID", 0x1234);
    {
        DeviceIdDialog dialog(nullptr);
        EXPECT_TRUE(dialog.remember().isChecked());
        ASSERT_EQ(dialog.ids().count(), 2);
        EXPECT_EQ(dialog.ids().itemText(0), "BC614E");
        EXPECT_EQ(dialog.ids().currentText(), "1234");
        dialog.ids().setEditText("abcd");
        dialog.confirm();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.deviceId(), 0xABCDu);
        EXPECT_EQ(s.readInt("WIFI_Mode", "Device_ID"), 0xABCD);
    }
    DeviceIdDialog dialog(nullptr);
    dialog.clearRecord();
    EXPECT_EQ(s.readInt("WIFI_Mode", "Device_ID"), -1);
    EXPECT_EQ(s.readListItem("WIFI_Mode", "Device_IDS", 0), -1);
    dialog.ids().setEditText("");
    dialog.confirm();
    EXPECT_EQ(boxes, std::vector<std::string>{"The device ID is empty!"});
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.remember().click();  // unticked: forget, and keep nothing on OK
    EXPECT_EQ(s.readInt("WIFI_Mode", "Device_IDMemory"), 0);
}

TEST_F(WifiDialogsTest, ClientListShowsAddressesAndPicksOne) {
    ClientListDialog dialog({0xC0A80401, 0x0A000002}, nullptr);
    ASSERT_EQ(dialog.list().topLevelItemCount(), 2);
    EXPECT_EQ(dialog.list().headerItem()->text(0), "Client IP");
    EXPECT_EQ(dialog.list().topLevelItem(1)->text(0), "10.0.0.2");
    dialog.pick(5);
    EXPECT_EQ(dialog.chosen(), 0u);
    dialog.pick(1);
    EXPECT_EQ(dialog.chosen(), 0x0A000002u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
