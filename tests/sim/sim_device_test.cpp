#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files/crc16.h"
#include "link/frame.h"
#include "sim/sim_device.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Reply {
    uint8_t command;
    Bytes payload;
};

// The replies as the program would read them; a damaged frame has command 0xEE.
std::vector<Reply> decode(const std::vector<SimDevice::Reply>& replies) {
    std::vector<Reply> out;
    for (const auto& r : replies) {
        const Bytes& f = r.bytes;
        bool whole = f.size() >= 5 && f[0] == Frame::kStart && f[1] + 2u == f.size() &&
                     crc16Modbus(f.data(), f.size() - 2) == Frame::getU16(&f[f.size() - 2]);
        out.push_back(whole ? Reply{f[2], Bytes(f.begin() + 3, f.end() - 2)} : Reply{0xEE, {}});
    }
    return out;
}

std::vector<Reply> ask(SimDevice& device, Command command, const Bytes& payload) {
    Bytes frame = Frame::build(command, payload);
    return decode(device.receive(frame.data(), frame.size()));
}

Bytes indices(std::initializer_list<int> list) {
    Bytes p;
    for (int i : list) Frame::putU16(p, static_cast<uint16_t>(i));
    return p;
}

Bytes groups(std::initializer_list<std::pair<int, int>> list) {
    Bytes p;
    for (auto [i, v] : list) {
        Frame::putU16(p, static_cast<uint16_t>(i));
        Frame::putU16(p, static_cast<uint16_t>(v));
    }
    return p;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

uint16_t presenceRead(SimDevice& device) {
    auto r = ask(device, Command::ReadParameters, indices({1630}));
    return Frame::getU16(&r.at(0).payload.at(2));
}

TEST(SimDevice, HelloAnswersTheMagicAndTheVersion) {
    SimDevice device;
    auto r = ask(device, Command::Hello, {0});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].command, 0x00);
    EXPECT_EQ(r[0].payload, (Bytes{0x57, 0x54, 0x00, SimDevice::kVersion}));
    EXPECT_EQ(device.value(0), 22356);
}

TEST(SimDevice, ReadAnswersOneGroupPerKnownIndex) {
    SimDevice device;
    device.setValue(10, 1010);
    auto r = ask(device, Command::ReadParameters, indices({10, 0, 1746, 1745}));
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].payload, groups({{10, 1010}, {0, 22356}, {1745, device.value(1745)}}));
}

TEST(SimDevice, WriteStoresAndEchoesWhatItHolds) {
    SimDevice device;
    auto r = ask(device, Command::WriteParameters, groups({{20, 2020}, {0, 5}, {1746, 7}}));
    ASSERT_EQ(r.size(), 1u);
    // Parameter 0 stays the magic, so its echo differs from what was written.
    EXPECT_EQ(r[0].payload, groups({{20, 2020}, {0, 22356}, {1746, 7}}));
    EXPECT_EQ(device.value(20), 2020);
    EXPECT_EQ(device.value(0), 22356);
}

TEST(SimDevice, BulkReadStreamsTheWholeMemoryQuickly) {
    SimDevice device;
    Bytes frame = Frame::build(Command::BulkRead, Bytes{0});
    auto raw = device.receive(frame.data(), frame.size());
    SimDevice::Memory memory = device.memory();
    std::vector<int> seen(SimDevice::kParameters, 0);
    uint32_t elapsed = 0;
    int within500 = 0;
    for (size_t k = 0; k < raw.size(); ++k) {
        elapsed += raw[k].delayMs;
        Reply r = decode({raw[k]})[0];
        ASSERT_EQ(r.command, static_cast<uint8_t>(Command::ReadParameters));
        ASSERT_LE(r.payload.size(), 100u);
        for (size_t g = 0; g + 4 <= r.payload.size(); g += 4) {
            int index = Frame::getU16(&r.payload[g]);
            ASSERT_LT(index, SimDevice::kParameters);
            EXPECT_EQ(Frame::getU16(&r.payload[g + 2]), memory[static_cast<size_t>(index)]);
            ++seen[static_cast<size_t>(index)];
            if (elapsed < 500) ++within500;
        }
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), SimDevice::kParameters);
    EXPECT_GT(within500, 10);
}

TEST(SimDevice, RequestsArriveInAnyChunking) {
    SimDevice device;
    Bytes stream = Bytes{0x13, 0x80} + Frame::build(Command::Hello, Bytes{0});
    Bytes damaged = Frame::build(Command::ReadParameters, indices({1}));
    damaged.back() ^= 0xFF;
    stream = stream + damaged + Frame::build(Command::ReadParameters, indices({2}));

    std::vector<Reply> replies;
    for (uint8_t b : stream)
        for (const Reply& r : decode(device.receive(&b, 1))) replies.push_back(r);
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].command, 0x00);
    EXPECT_EQ(replies[1].payload, groups({{2, device.value(2)}}));
    EXPECT_EQ(device.requests(static_cast<uint8_t>(Command::ReadParameters)), 1u);
    EXPECT_EQ(device.requestLog().size(), 2u);
}

TEST(SimDevice, PresenceWordAnswersForeignValuesAsConfigured) {
    SimDevice device;
    EXPECT_EQ(presenceRead(device), 0);
    ask(device, Command::WriteParameters, groups({{1630, 1}}));
    EXPECT_EQ(presenceRead(device), 1);

    SimFaults faults;
    faults.foreignPresence = 2;
    faults.foreignPer10 = 3;
    device.setFaults(faults);
    int foreign = 0;
    for (int k = 0; k < 20; ++k) foreign += presenceRead(device) == 2;
    EXPECT_EQ(foreign, 6);
}

TEST(SimDevice, RecallReplacesTheParametersButKeepsTheDevicesOwnState) {
    SimDevice device;
    ask(device, Command::WriteParameters, groups({{1630, 1}, {40, 4040}, {1637, 1234}}));
    auto r = ask(device, Command::RecallMode, {3});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].command, static_cast<uint8_t>(Command::RecallMode));
    const std::vector<int> own{1606, 1607, 1608, 1610, 1625, 1626, 1628, 1629,
                               1630, 1636, 1637, 1638, 1639, 1640, 1641};
    SimDevice::Memory mode = device.modeMemory(3);
    SimDevice::Memory memory = device.memory();
    for (int i = 1; i < SimDevice::kParameters; ++i) {
        if (std::find(own.begin(), own.end(), i) != own.end()) continue;
        ASSERT_EQ(memory[static_cast<size_t>(i)], mode[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(device.value(1628), 3);
    EXPECT_EQ(device.value(1630), 1);
    EXPECT_EQ(device.value(1637), 1234);
    EXPECT_EQ(device.value(0), 22356);
}

TEST(SimDevice, ModeNamesAreReadAndSavedWithTwentyBytes) {
    SimDevice device;
    auto r = ask(device, Command::ReadModeName, {2});
    ASSERT_EQ(r.size(), 1u);
    ASSERT_EQ(r[0].payload.size(), 26u);
    EXPECT_EQ(r[0].payload[0], 2);
    EXPECT_EQ(std::string(r[0].payload.begin() + 1, r[0].payload.end())
                  .substr(0, device.modeName(2).size()),
              device.modeName(2));

    std::string name = "Late Night Karaoke Session";
    Bytes save{5};
    save.insert(save.end(), name.begin(), name.begin() + 20);
    ASSERT_EQ(ask(device, Command::SaveModeName, save).size(), 1u);
    EXPECT_EQ(device.modeName(5), "Late Night Karaoke S");
    EXPECT_TRUE(ask(device, Command::ReadModeName, {17}).empty());
}

TEST(SimDevice, DeviceIdModuleTextAndUpgradeAreAnswered) {
    SimDevice device;
    auto id = ask(device, Command::ReadDeviceId, {0});
    ASSERT_EQ(id.size(), 1u);
    EXPECT_EQ(id[0].payload, (Bytes{4, 0x00, 0xBC, 0x61, 0x4E}));

    std::string get = "Get_TCPPort:";
    Bytes text(get.c_str(), get.c_str() + get.size() + 1);  // with its terminating zero
    auto m = ask(device, Command::ModuleText, text);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(std::string(m[0].payload.begin(), m[0].payload.end()), "Get_TCPPort:1010\r\n");
    std::string set = "Set_TCPPort:2020";
    ask(device, Command::ModuleText, Bytes(set.begin(), set.end()));
    m = ask(device, Command::ModuleText, text);
    EXPECT_EQ(std::string(m.at(0).payload.begin(), m.at(0).payload.end()), "Get_TCPPort:2020\r\n");

    EXPECT_EQ(ask(device, Command::UpgradeStart, {1}).at(0).payload, Bytes{0x81});
    Bytes block(259, 0xA5);
    block[0] = 0x00;
    block[1] = 0x01;
    block[2] = 0x00;
    // The loader waits for block 0 before block 256.
    EXPECT_EQ(ask(device, Command::UpgradeBlock, block).at(0).payload, (Bytes{0x00, 0x00, 0x00}));
    block[1] = 0x00;
    EXPECT_EQ(ask(device, Command::UpgradeBlock, block).at(0).payload, (Bytes{0x00, 0x00, 0x00}));
    EXPECT_EQ(ask(device, Command::UpgradeFinish, {0}).at(0).payload, Bytes{0xFF});
    EXPECT_EQ(device.loaderReport().image, Bytes(256, 0xA5));
}

TEST(SimDevice, LoaderRefusesUnknownTypesHolesAndContradictions) {
    SimDevice device;
    EXPECT_EQ(ask(device, Command::UpgradeStart, {6}).at(0).payload, Bytes{0x00});
    EXPECT_EQ(ask(device, Command::UpgradeFinish, {0xFF}).at(0).payload, Bytes{0x00});

    ASSERT_EQ(ask(device, Command::UpgradeStart, {3}).at(0).payload, Bytes{0x83});
    Bytes block(259, 0x11);
    block[0] = block[1] = block[2] = 0;
    ask(device, Command::UpgradeBlock, block);
    block[3] = 0x22;  // block 0 again, with other bytes
    ask(device, Command::UpgradeBlock, block);
    EXPECT_FALSE(device.loaderReport().consistent);
    EXPECT_EQ(ask(device, Command::UpgradeFinish, {0xFF}).at(0).payload, Bytes{0x00});
}

TEST(SimDevice, FaultsSilenceDropDamageAndDisguiseTheDevice) {
    SimDevice device(3);
    SimFaults faults;
    faults.silent = true;
    device.setFaults(faults);
    EXPECT_TRUE(ask(device, Command::Hello, {0}).empty());
    EXPECT_EQ(device.requests(0x00), 1u);

    faults = {};
    faults.dropReplies = 1.0;
    device.setFaults(faults);
    EXPECT_TRUE(ask(device, Command::Hello, {0}).empty());

    faults = {};
    faults.corruptBytes = 1.0;
    device.setFaults(faults);
    EXPECT_EQ(ask(device, Command::Hello, {0}).at(0).command, 0xEE);

    faults = {};
    faults.magic = 0x1234;
    faults.replyDelayMs = 300;
    device.setFaults(faults);
    Bytes hello = Frame::build(Command::Hello, Bytes{0});
    auto raw = device.receive(hello.data(), hello.size());
    ASSERT_EQ(raw.size(), 1u);
    EXPECT_EQ(raw[0].delayMs, 300u);
    EXPECT_EQ(Frame::getU16(&decode(raw)[0].payload[0]), 0x1234);
    EXPECT_EQ(device.memory()[0], 0x1234);
}

TEST(SimDevice, EachDisappearanceStartsANewGeneration) {
    SimDevice device;
    uint64_t first = device.generation();
    device.setAbsent(true);
    device.setAbsent(true);
    EXPECT_EQ(device.generation(), first + 1);
    EXPECT_TRUE(ask(device, Command::Hello, {0}).empty());
    device.setAbsent(false);
    EXPECT_EQ(ask(device, Command::Hello, {0}).size(), 1u);
}

}  // namespace

TEST(SimDevice, ModesItDoesNotHaveAreNeitherRecalledNorNamed) {
    SimDevice device;
    const SimDevice::Memory memory = device.memory();
    const std::string name = device.modeName(1);
    for (uint8_t mode : {0, 17, 255}) {
        EXPECT_TRUE(ask(device, Command::RecallMode, {mode}).empty()) << int(mode);
        EXPECT_TRUE(ask(device, Command::SaveModeName, Bytes{mode} + Bytes(20, 'x')).empty())
            << int(mode);
    }
    EXPECT_TRUE(ask(device, Command::RecallMode, {}).empty());
    EXPECT_EQ(device.memory(), memory);
    EXPECT_EQ(device.modeName(1), name);
}

TEST(SimDevice, WhatItSaysUnaskedGoesOutOnceAheadOfItsNextReply) {
    SimDevice device;
    device.changeAndReport(300, 4321);
    device.sendNotice();
    SimFaults faults;
    faults.startByte81 = true;
    device.setFaults(faults);
    Bytes hello = Frame::build(Command::Hello, {0});
    auto replies = device.receive(hello.data(), hello.size());
    ASSERT_EQ(replies.size(), 3u);
    const uint8_t commands[] = {0x06, 0x55, 0x00};
    for (size_t k = 0; k < 3; ++k) {
        const Bytes& f = replies[k].bytes;
        EXPECT_EQ(f[0], 0x81);
        EXPECT_EQ(f[2], commands[k]);
        EXPECT_EQ(crc16Modbus(f.data(), f.size() - 2), Frame::getU16(&f[f.size() - 2]));
    }
    EXPECT_GE(replies[1].bytes.size(), 11u) << "a notice is skipped 11 bytes at a time";
    EXPECT_EQ(Bytes(replies[0].bytes.begin() + 3, replies[0].bytes.end() - 2),
              groups({{300, 4321}}));
    EXPECT_EQ(device.value(300), 4321);
    EXPECT_EQ(device.receive(hello.data(), hello.size()).size(), 1u);
}

TEST(SimDevice, WifiModuleKeepsItsSettings) {
    SimDevice device;
    struct Step {
        std::string text;
        std::string reply;  // empty: no answer
    };
    const std::vector<Step> steps = {
        {"Get_IP:", "Get_IP:C0A80401\r\n"},
        {"Set_WiFiMode:2", "Set_WiFiMode:OK\r\n"},
        {"Get_IP:", "Get_IP:C0A8012A\r\n"},
        {"Set_WiFiMode:7", ""},
        {"Set_HotPW:1234567", ""},
        {"Set_HotPW:", "Set_HotPW:OK\r\n"},
        {"Set_HotSSID:Den", "Set_HotSSID:OK\r\n"},
        {"Get_HotSSID:", "Get_HotSSID:Den\r\n"},
        {"Set_Restore:", "Set_Restore:OK\r\n"},
        {"Get_WiFiMode:", "Get_WiFiMode:1\r\n"},
        {"Nonsense", ""},
    };
    for (const Step& s : steps) {
        Bytes text(s.text.begin(), s.text.end());
        text.push_back(0);
        auto m = ask(device, Command::ModuleText, text);
        std::string reply = m.empty() ? "" : std::string(m[0].payload.begin(), m[0].payload.end());
        EXPECT_EQ(reply, s.reply) << s.text;
    }
    EXPECT_EQ(device.moduleLog().size(), steps.size());
    EXPECT_EQ(device.moduleLog()[6], "Set_HotSSID:Den");
}
