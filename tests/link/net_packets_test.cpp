// The network and relay packets as bytes: what the scanners accept and
// refuse, and the packets the program builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files/crc16.h"
#include "link/device_info.h"
#include "link/frame.h"
#include "link/frame_parser.h"
#include "link/link_state.h"
#include "link/mirror.h"
#include "link/transports/client_id.h"
#include "link/transports/discovery_scope.h"
#include "link/transports/module_packet.h"
#include "link/transports/net_envelope.h"
#include "link/transports/relay_packet.h"
#include "platform/net/net_address.h"
#include "support/manual_clock.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Parts = std::vector<std::pair<size_t, size_t>>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Bytes kFrame = Frame::build(Command::ReadParameters, {0x00, 0x05, 0x12, 0x34});
const Bytes kPacket = ModulePacket::build({1, 2, 3, 4, 5, 6}, kFrame.data(), kFrame.size());

Bytes damaged(Bytes b, size_t at) {
    b[at] ^= 0x01;
    return b;
}

Bytes withLength(Bytes b, size_t length) {
    b[2] = static_cast<uint8_t>(length);
    b[3] = static_cast<uint8_t>(length >> 8);
    return b;
}

TEST(ModulePacketTest, ChunksGiveThePartsThatReachTheFrameParser) {
    const size_t data = ModulePacket::kDataOffset;
    const Bytes two = kFrame + kFrame;
    struct Case {
        const char* what;
        Bytes chunk;
        Parts parts;
    } cases[] = {
        {"two plain frames go whole", two, {{0, two.size()}}},
        {"a packet gives its data", kPacket, {{data, kFrame.size()}}},
        {"noise around a packet is dropped",
         Bytes{9, 9} + kPacket + Bytes{'%'},
         {{2 + data, kFrame.size()}}},
        {"two packets",
         kPacket + kPacket,
         {{data, kFrame.size()}, {kPacket.size() + data, kFrame.size()}}},
        {"a wrong CRC: the chunk goes whole",
         damaged(kPacket, kPacket.size() - 1),
         {{0, kPacket.size()}}},
        {"a length past the chunk", withLength(kPacket, kPacket.size() + 1), {{0, kPacket.size()}}},
        {"shorter than 10 bytes", Bytes{'%', 'E', 9, 0, 1, 2, 3}, {{0, 7}}},
        {"a header alone", Bytes{'%', 'E'}, {{0, 2}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ModulePacket::carried(c.chunk.data(), c.chunk.size()), c.parts) << c.what;
}

TEST(ModulePacketTest, TwoPlainFramesInOneChunkAreParsedAsTwo) {
    ManualClock clock;
    LinkState state;
    Mirror mirror;
    DeviceInfo device;
    FrameParser parser(clock, state, mirror, device);
    Bytes chunk = kFrame + Frame::build(Command::ReadParameters, {0x00, 0x06, 0x56, 0x78});
    for (auto [start, size] : ModulePacket::carried(chunk.data(), chunk.size()))
        parser.parse(chunk.data() + start, size);
    EXPECT_EQ(parser.framesParsed(), 2u);
    EXPECT_EQ(mirror.value(5), 0x1234);
    EXPECT_EQ(mirror.value(6), 0x5678);
}

TEST(NetEnvelopeTest, CarriesTheDeviceIdLeastSignificantByteFirst) {
    Bytes e = NetEnvelope::wrap(0x00BC614E, kFrame.data(), kFrame.size());
    EXPECT_EQ(Bytes(e.begin(), e.begin() + 9),
              (Bytes{0xAE, 0x1E, 0x00, static_cast<uint8_t>(kFrame.size() + 9), 0xC8, 0x4E, 0x61,
                     0xBC, 0x00}));
    auto opened = NetEnvelope::open(e.data(), e.size());
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->id, 0x00BC614Eu);
    EXPECT_FALSE(NetEnvelope::open(e.data(), e.size() - 1)) << "cut short";
}

const RelayPacket::ClientId kClient{0x11, 0x22, 0x33, 0x44};

TEST(RelayPacketTest, ControlPacketsHaveTheirLayout) {
    Bytes status = RelayPacket::statusQuery(kClient);
    ASSERT_EQ(status.size(), 13u);
    EXPECT_EQ(Bytes(status.begin(), status.begin() + 11),
              (Bytes{0x72, 0x85, 0x0D, 0x00, 'T', 'W', 0x11, 0x22, 0x33, 0x44, 7}));
    EXPECT_EQ(crc16Modbus(status.data(), 11), status[11] << 8 | status[12]);
    Bytes close = RelayPacket::closeChannel(kClient, 0x01020304);
    EXPECT_EQ(Bytes(close.begin() + 10, close.end() - 2), (Bytes{9, 4, 3, 2, 1, 5, 0}));
    EXPECT_EQ(RelayPacket::deviceInfo(kClient, 0x00BC614E)[11], 0x4E);
}

TEST(RelayPacketTest, RepliesAreCheckedBeforeAnyFieldIsRead) {
    RelayPacket::Block block{};
    block[RelayPacket::Magic] = 22356;
    Bytes blockArgs{RelayPacket::DeviceInfo};
    RelayPacket::putBlock(blockArgs, block);
    const Bytes status = RelayPacket::control(kClient, {RelayPacket::Status, 3, 0});
    const Bytes info = RelayPacket::control(kClient, blockArgs);
    struct Case {
        const char* what;
        Bytes bytes;
        bool accepted;
    } cases[] = {
        {"a status reply", status, true},
        {"a device information reply", info, true},
        {"shorter than 11 bytes", Bytes(status.begin(), status.begin() + 10), false},
        {"a wrong CRC", damaged(status, 11), false},
        {"a length past the datagram", withLength(status, status.size() + 1), false},
        {"a length too short for a command", withLength(status, 11), false},
        {"another header", damaged(status, 0), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RelayPacket::parseReply(c.bytes.data(), c.bytes.size()).has_value(), c.accepted)
            << c.what;
    EXPECT_EQ(RelayPacket::parseReply(status.data(), status.size())->status(), 3);
    EXPECT_EQ((*RelayPacket::parseReply(info.data(), info.size())->block())[RelayPacket::Magic],
              22356u);
    Bytes shortBlock = RelayPacket::control(kClient, {RelayPacket::DeviceInfo, 1, 2, 3});
    EXPECT_FALSE(RelayPacket::parseReply(shortBlock.data(), shortBlock.size())->block())
        << "a block cut short";
}

TEST(RelayPacketTest, DataPacketsCarryTheFrameBothWays) {
    RelayPacket::Block block{};
    block[RelayPacket::Channel] = 0xC8A001;
    block[RelayPacket::Valid] = 1;
    Bytes out = RelayPacket::data(block, kFrame.data(), kFrame.size());
    EXPECT_EQ(out.size(), kFrame.size() + 22);
    EXPECT_EQ(out[2] | out[3] << 8, static_cast<int>(kFrame.size() + 22));
    auto opened = NetEnvelope::open(out.data() + 10, out.size() - 12);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->id, 0xC8A001u);
    EXPECT_EQ(Bytes(out.begin() + 19, out.begin() + 19 + static_cast<long>(kFrame.size())), kFrame);

    Bytes carried = Bytes(kClient.begin(), kClient.end()) + kFrame;
    Bytes in = ModulePacket::build({}, carried.data(), carried.size());
    auto frames = RelayPacket::framesFor(in.data(), in.size(), kClient);
    ASSERT_TRUE(frames);
    EXPECT_EQ(Bytes(in.begin() + static_cast<long>(frames->first),
                    in.begin() + static_cast<long>(frames->first + frames->second)),
              kFrame);
    EXPECT_FALSE(RelayPacket::framesFor(in.data(), in.size(), {1, 2, 3, 4})) << "another client's";
}

TEST(ClientIdTest, FoldsEightBytesIntoFour) {
    EXPECT_EQ(ClientId::fold({1, 2, 3, 4, 0x10, 0x20, 0x30, 0x40}),
              (ClientId::Bytes{0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(ClientId::fold(0x000306A9, 0xBFEBFBFF),
              (ClientId::Bytes{0xA9 ^ 0xFF, 0x06 ^ 0xFB, 0x03 ^ 0xEB, 0xBF}));
}

TEST(DiscoveryScopeTest, BelievesOnlyAHostOfItsNetworkThatReportsItself) {
    const uint32_t own = ipv4Of(192, 168, 1, 20);
    DiscoveryScope scope({{own, 0xFFFFFF00}});
    struct Case {
        uint32_t source;
        uint32_t reported;
        bool accepted;
    } cases[] = {
        {ipv4Of(192, 168, 1, 7), ipv4Of(192, 168, 1, 7), true},
        {ipv4Of(192, 168, 1, 8), ipv4Of(192, 168, 1, 7), false},  // speaks for another
        {ipv4Of(192, 168, 2, 7), ipv4Of(192, 168, 2, 7), false},  // another network
        {ipv4Of(192, 168, 1, 255), ipv4Of(192, 168, 1, 255), false},
        {ipv4Of(192, 168, 1, 0), ipv4Of(192, 168, 1, 0), false},
        {own, own, false},
        {0, 0, false},
        {0xFFFFFFFF, 0xFFFFFFFF, false},
        {ipv4Of(224, 0, 0, 1), ipv4Of(224, 0, 0, 1), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scope.accepts(c.source, c.reported), c.accepted)
            << NetAddress::text(c.source) << " says " << NetAddress::text(c.reported);
}

TEST(DiscoveryScopeTest, SweepsItsOwnNetworksAtMostAByteWide) {
    auto wide = DiscoveryScope::Subnet::parse("10.1.2.3/16");
    auto narrow = DiscoveryScope::Subnet::parse("192.168.4.2/30");
    ASSERT_TRUE(wide && narrow);
    EXPECT_FALSE(DiscoveryScope::Subnet::parse("10.1.2.3/4"));
    EXPECT_FALSE(DiscoveryScope::Subnet::parse("10.1.2.3"));
    EXPECT_FALSE(DiscoveryScope::Subnet::parse("224.0.0.1/8"));
    std::vector<uint32_t> targets = DiscoveryScope({*wide, *narrow}).sweepTargets();
    ASSERT_EQ(targets.size(), 253u + 1u) << "10.1.2.1 to .254 without itself, and 192.168.4.1";
    EXPECT_EQ(targets.front(), ipv4Of(10, 1, 2, 1));
    EXPECT_EQ(targets.back(), ipv4Of(192, 168, 4, 1));
    EXPECT_EQ(std::count(targets.begin(), targets.end(), ipv4Of(10, 1, 2, 3)), 0);
    for (uint32_t ip : {ipv4Of(10, 0, 0, 1), ipv4Of(172, 31, 9, 9), ipv4Of(192, 168, 0, 1)})
        EXPECT_TRUE(DiscoveryScope::isPrivate(ip)) << NetAddress::text(ip);
    for (uint32_t ip : {ipv4Of(127, 0, 1, 1), ipv4Of(172, 32, 0, 1), ipv4Of(100, 64, 0, 1)})
        EXPECT_FALSE(DiscoveryScope::isPrivate(ip)) << NetAddress::text(ip);
    for (const DiscoveryScope::Subnet& s : DiscoveryScope::localSubnets())
        EXPECT_TRUE(DiscoveryScope::isPrivate(s.address)) << NetAddress::text(s.address);
}

}  // namespace
