#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "link/module_requests.h"
#include "link/module_table.h"

namespace {

void feed(ModuleTable& table, const std::string& reply) {
    table.parse(reinterpret_cast<const uint8_t*>(reply.data()), reply.size());
}

TEST(ModuleTable, NumberParsers) {
    struct Case {
        std::string text;
        uint32_t hex;
        uint32_t decimal;
    };
    const std::vector<Case> cases = {
        {"C0A80401", 0xC0A80401, 80401},
        {"c0a8\r\n", 0xC0A8, 8},
        {"1 2", 0x102, 12},                    // a space still shifts
        {"x1-y2", 0x12, 12},                   // other characters do not
        {"123456789", 0x23456789, 123456789},  // a ninth digit pushes the first out
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ModuleTable::parseHex(c.text.data(), c.text.size()), c.hex) << c.text;
        EXPECT_EQ(ModuleTable::parseDecimal(c.text.data(), c.text.size()), c.decimal) << c.text;
    }
}

TEST(ModuleTable, RepliesLandInTheirSlots) {
    struct Case {
        std::string reply;
        int slot;  // -1: ignored
        int32_t value;
        std::string text;  // expected slot text when not empty
    };
    const std::vector<Case> cases = {
        {"Get_WiFiMode:2\r\n", ModuleTable::WifiMode, 2, ""},
        {"Get_TCPPort:1010\r\n", ModuleTable::TcpPort, 1010, ""},
        {"xxGet_UDPPort:20 20", ModuleTable::UdpPort, 2020, ""},
        {"Get_HotSSID:Den\r\n", ModuleTable::HotspotSsid, 5, "Get_HotSSID:Den\r\n"},
        {"Get_RoutePW:", ModuleTable::RouterPassword, 0, "Get_RoutePW:"},
        {"Get_Confi:AB", ModuleTable::Config, 4, "AB"},
        {"Get_LinkIP:1 Get_IP:5", ModuleTable::Ip, 5, ""},  // the prefix order decides
        {"Set_HotPW:OK", ModuleTable::SetHotspotPassword, 0, ""},
        {"Set_Domain:OK", ModuleTable::SetDomain, 0, ""},
        {"Get_TCPPort:", -1, 0, ""},  // a number reply with no number
        {"Hello module", -1, 0, ""},
        {std::string("Get_\0IP:5", 9), -1, 0, ""},  // the text ends at its first zero
    };
    for (const Case& c : cases) {
        ModuleTable table;
        table.setTextAndQueue(c.slot < 0 ? 3 : c.slot, "command");
        feed(table, c.reply);
        for (int slot = 0; slot < ModuleTable::kSlots; ++slot)
            EXPECT_EQ(table.replied(slot), slot == c.slot) << c.reply << " slot " << slot;
        if (c.slot < 0) continue;
        EXPECT_FALSE(table.queued(c.slot)) << c.reply;
        EXPECT_EQ(table.value(c.slot), c.value) << c.reply;
        if (!c.text.empty()) {
            EXPECT_EQ(table.text(c.slot), c.text) << c.reply;
        }
    }
}

TEST(ModuleTable, ModuleAddressJoinsTheClientListOnce) {
    ModuleTable table;
    for (int k = 0; k < 3; ++k) feed(table, "Get_IP:C0A80401");
    feed(table, "Get_IP:0");
    EXPECT_EQ(ModuleTable::dotted(static_cast<uint32_t>(table.value(ModuleTable::Ip))), "0.0.0.0");
    ASSERT_EQ(table.clients().size(), 1u);
    EXPECT_EQ(ModuleTable::dotted(table.clients()[0]), "192.168.4.1");
}

TEST(ModuleTable, ClientListStopsAtItsCapAndSaysSo) {
    ModuleTable table;
    for (uint32_t host = 1; host <= ModuleTable::kMaxClients; ++host)
        EXPECT_TRUE(table.addClient(0x0A000000 | host));
    EXPECT_FALSE(table.clientsOverflowed());
    EXPECT_TRUE(table.addClient(0x0A000001)) << "a known module is no overflow";
    EXPECT_FALSE(table.addClient(0x0A0000FE));
    feed(table, "Get_IP:0A0000FD");
    EXPECT_EQ(table.clients().size(), ModuleTable::kMaxClients);
    EXPECT_TRUE(table.clientsOverflowed());
    table.clearClients();
    EXPECT_FALSE(table.clientsOverflowed());
}

TEST(ModuleTable, UnconfirmedCommandIsSentNineTimesThenDropped) {
    ModuleTable table;
    table.setTextAndQueue(ModuleTable::SetHotspotSsid, "Set_HotSSID:Den");
    int cursor = 0, sent = 0;
    while (table.queued(ModuleTable::SetHotspotSsid)) {
        if (table.pickForSending(cursor, true) == "Set_HotSSID:Den") ++sent;
        ASSERT_LT(sent, 20);
    }
    EXPECT_EQ(sent, 9);
    EXPECT_EQ(cursor, ModuleTable::SetHotspotSsid);
    EXPECT_EQ(table.pickForSending(cursor, true), std::nullopt);

    // Without counting (the network loop) it goes on until answered.
    table.queue(ModuleTable::SetHotspotSsid);
    for (int k = 0; k < 20; ++k) EXPECT_TRUE(table.pickForSending(cursor, false));
    feed(table, "Set_HotSSID:OK");
    EXPECT_FALSE(table.pickForSending(cursor, false));
}

TEST(ModuleTable, PickStartsAtTheCursorAndWraps) {
    ModuleTable table;
    table.setTextAndQueue(ModuleTable::Ip, "Get_IP:");
    table.setTextAndQueue(ModuleTable::HotspotSsid, "Get_HotSSID:");
    int cursor = 8;
    EXPECT_EQ(table.pickForSending(cursor, true), "Get_IP:");
    EXPECT_EQ(cursor, 0);
    feed(table, "Get_IP:1");
    EXPECT_EQ(table.pickForSending(cursor, true), "Get_HotSSID:");
    EXPECT_EQ(table.attempts(ModuleTable::Ip), 0);
}

TEST(ModuleTable, ConfirmationsWaitForBothHalves) {
    ModuleTable table;
    feed(table, "Set_HotSSID:OK");
    EXPECT_TRUE(table.takeConfirmations().empty());
    feed(table, "Set_HotPW:OK");
    feed(table, "Set_WiFiMode:OK");
    EXPECT_EQ(table.takeConfirmations(), (std::vector<std::string>{"Set Hot:OK", "WiFiMode:OK"}));
    EXPECT_TRUE(table.takeConfirmations().empty());

    feed(table, "Set_ServerPort:OK");
    feed(table, "Set_Domain:OK");
    EXPECT_TRUE(table.takeConfirmations().empty());
    EXPECT_EQ(table.takeConfirmations(true), std::vector<std::string>{"Set_ServerPort:OK"});
    EXPECT_FALSE(table.replied(ModuleTable::SetDomain));
}

TEST(ModuleTable, CommandsDropControlsAndFitTheirBuffer) {
    EXPECT_EQ(ModuleTable::command("Set_HotPW:", "", true), "Set_HotPW:");
    EXPECT_EQ(ModuleTable::command("Set_HotSSID:",
                                   "a\tb\x1f"
                                   "c",
                                   true),
              "Set_HotSSID:abc");
    EXPECT_EQ(ModuleTable::command("Set_RouteSSID:", "a\tb", false), "Set_RouteSSID:a\tb");

    std::string euro = "\xE2\x82\xAC";  // three bytes
    std::string many;
    for (int k = 0; k < 40; ++k) many += euro;
    std::string cmd = ModuleTable::command("Set_HotSSID:", many, true);
    EXPECT_LE(cmd.size() + 1, ModuleTable::kCommandLimit);
    EXPECT_EQ((cmd.size() - 12) % 3, 0u) << "cut inside a character";
    EXPECT_EQ(ModuleTable::command("Set_HotSSID:", std::string(200, 'x'), true).size(), 99u);
}

TEST(ModuleTable, TextAfterPrefixLeavesLineEndsOut) {
    ModuleTable table;
    feed(table, "Get_RouteSSID:Home Net\r\n");
    EXPECT_EQ(table.textAfter(ModuleTable::RouterSsid, "Get_RouteSSID:"), "Home Net");
    EXPECT_EQ(table.textAfter(ModuleTable::RouterSsid, "Get_HotSSID:"), std::nullopt);
}

}  // namespace

namespace {

TEST(ModuleRequests, HotspotAndRouterRules) {
    using R = ModuleRequests::Refusal;
    struct Case {
        bool hotspot;
        std::string ssid, password;
        R refusal;
        std::string ssidCommand, passwordCommand;  // empty: not queued
    };
    const std::vector<Case> cases = {
        {true, "Den", "1234567", R::PasswordTooShort, "Set_HotSSID:Den", ""},
        {true, "Den", "", R::None, "Set_HotSSID:Den", "Set_HotPW:"},
        {true, "De\tn", "12345678\n", R::None, "Set_HotSSID:Den", "Set_HotPW:12345678"},
        {true, "", "12345678", R::SsidEmpty, "", ""},
        {false, "", "x", R::SsidEmpty, "", ""},
        {false, "Ho\tme", "1", R::None, "Set_RouteSSID:Ho\tme", "Set_RoutePW:1"},
    };
    for (const Case& c : cases) {
        ModuleTable table;
        ModuleRequests requests(table);
        int ssidSlot = c.hotspot ? ModuleTable::SetHotspotSsid : ModuleTable::SetRouterSsid;
        R refusal = c.hotspot ? requests.setHotspot(c.ssid, c.password) : requests.setRouter(c.ssid, c.password);
        EXPECT_EQ(refusal, c.refusal) << c.ssid << "/" << c.password;
        EXPECT_EQ(table.queued(ssidSlot), !c.ssidCommand.empty()) << c.ssid;
        EXPECT_EQ(table.queued(ssidSlot + 1), !c.passwordCommand.empty()) << c.password;
        if (!c.ssidCommand.empty()) {
            EXPECT_EQ(table.text(ssidSlot), c.ssidCommand);
        }
        if (!c.passwordCommand.empty()) {
            EXPECT_EQ(table.text(ssidSlot + 1), c.passwordCommand);
        }
    }
}

TEST(ModuleRequests, ReadSetModeAndDomain) {
    ModuleTable table;
    ModuleRequests requests(table);
    requests.queueReadSet();
    std::vector<int> queued;
    for (int slot = 0; slot < ModuleTable::kSlots; ++slot)
        if (table.queued(slot)) queued.push_back(slot);
    EXPECT_EQ(queued, (std::vector<int>{0, 2, 5, 6, 7, 8}));
    EXPECT_EQ(table.text(ModuleTable::TcpPort), "Get_TCPPort:");

    requests.setMode(ModuleRequests::RelayServer);
    EXPECT_EQ(table.text(ModuleTable::SetWifiMode), "Set_WiFiMode:3");
    EXPECT_EQ(table.value(ModuleTable::WifiMode), 3);

    feed(table, "Get_Domain:relay.test\r\n");
    requests.setDomainUnlessReported("relay.test");
    EXPECT_FALSE(table.queued(ModuleTable::SetDomain));
    requests.setDomainUnlessReported("other.test");
    EXPECT_EQ(table.text(ModuleTable::SetDomain), "Set_Domain:other.test");
}

}  // namespace
