#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/crc16.h"
#include "link/device_info.h"
#include "link/frame.h"
#include "link/frame_parser.h"
#include "link/link_state.h"
#include "link/mirror.h"
#include "support/manual_clock.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes reply(Command command, const Bytes& payload) {
    return Frame::build(command, payload);
}

Bytes parameters(std::initializer_list<std::pair<int, int>> groups) {
    Bytes p;
    for (auto [index, value] : groups) {
        Frame::putU16(p, static_cast<uint16_t>(index));
        Frame::putU16(p, static_cast<uint16_t>(value));
    }
    return p;
}

Bytes helloReply(uint16_t magic = Mirror::kDeviceMagic, uint16_t version = 123) {
    Bytes p;
    Frame::putU16(p, magic);
    Frame::putU16(p, version);
    return reply(Command::Hello, p);
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class FrameParserTest : public ::testing::Test {
protected:
    void feed(const Bytes& bytes) { parser.parse(bytes.data(), bytes.size()); }
    void feed(const Bytes& bytes, size_t from, size_t to) {
        parser.parse(bytes.data() + from, to - from);
    }
    bool released() { return state.replySemaphore.tryAcquire(); }

    ManualClock clock;
    LinkState state;
    Mirror mirror;
    DeviceInfo device;
    FrameParser parser{clock, state, mirror, device};
};

TEST_F(FrameParserTest, FrameSplitWithinTheStalenessLimitIsJoined) {
    Bytes hello = helloReply();
    feed(hello, 0, 4);
    clock.advance(100);
    feed(hello, 4, hello.size());
    EXPECT_EQ(device.magic, Mirror::kDeviceMagic);
    EXPECT_EQ(device.version, 123);
    EXPECT_EQ(parser.buffered(), 0u);
}

TEST_F(FrameParserTest, FrameSplitBeyondTheStalenessLimitIsLostAndItsTailDiscarded) {
    Bytes hello = helloReply();
    feed(hello, 0, 4);
    clock.advance(450);
    feed(hello, 4, hello.size());
    EXPECT_EQ(device.magic, 0);
    EXPECT_EQ(parser.framesParsed(), 0u);

    // The tail stays as noise until the next frame consumes it.
    clock.advance(10);
    feed(reply(Command::ReadParameters, parameters({{7, 70}})));
    EXPECT_EQ(mirror.value(7), 70);
    EXPECT_EQ(device.magic, 0);
    EXPECT_EQ(parser.buffered(), 0u);
}

TEST_F(FrameParserTest, StalenessStartsAtExactly400Milliseconds) {
    Bytes hello = helloReply();
    feed(hello, 0, 4);
    clock.advance(399);
    feed(hello, 4, hello.size());
    EXPECT_EQ(device.magic, Mirror::kDeviceMagic);

    device.magic = 0;
    feed(hello, 0, 4);
    clock.advance(400);
    feed(hello, 4, hello.size());
    EXPECT_EQ(device.magic, 0);
}

TEST_F(FrameParserTest, TwoFramesInOneChunkAreHandledInOrder) {
    feed(reply(Command::ReadParameters, parameters({{5, 1}})) +
         reply(Command::ReadParameters, parameters({{5, 2}})));
    EXPECT_EQ(parser.framesParsed(), 2u);
    EXPECT_EQ(mirror.value(5), 2);
    EXPECT_EQ(parser.buffered(), 0u);
}

TEST_F(FrameParserTest, GarbageBeforeAFrameIsDroppedWithIt) {
    // Noise with start bytes whose lengths point past the end or whose CRC fails.
    Bytes noise{0x13, 0x80, 0x40, 0x00, 0x81, 0x05, 0x06, 0x01, 0x02, 0x03, 0x04, 0xFF, 0x80};
    feed(noise + reply(Command::ReadParameters, parameters({{9, 900}})));
    EXPECT_EQ(mirror.value(9), 900);
    EXPECT_TRUE(mirror.received(9));
    EXPECT_EQ(parser.buffered(), 0u);
}

TEST_F(FrameParserTest, FrameWaitsForItsLastCrcByte) {
    Bytes frame = reply(Command::ReadParameters, parameters({{11, 1100}}));
    feed(frame, 0, frame.size() - 1);
    EXPECT_FALSE(mirror.received(11));
    EXPECT_EQ(parser.buffered(), frame.size() - 1);
    clock.advance(50);
    feed(frame, frame.size() - 1, frame.size());
    EXPECT_EQ(mirror.value(11), 1100);
    EXPECT_EQ(parser.buffered(), 0u);
}

TEST_F(FrameParserTest, AlternativeStartByteIsAccepted) {
    // The CRC covers the start byte, so the frame is sealed again after the change.
    Bytes frame = helloReply();
    frame[0] = Frame::kStartAlt;
    uint16_t crc = crc16Modbus(frame.data(), frame.size() - 2);
    frame[frame.size() - 2] = static_cast<uint8_t>(crc >> 8);
    frame[frame.size() - 1] = static_cast<uint8_t>(crc);
    feed(frame);
    EXPECT_EQ(device.magic, Mirror::kDeviceMagic);
}

TEST_F(FrameParserTest, IndicesAtOrAboveTheTableAreIgnored) {
    feed(reply(Command::ReadParameters, parameters({{1746, 7}, {0xFFFF, 9}, {1745, 3}})));
    EXPECT_EQ(mirror.value(1745), 3);
    EXPECT_EQ(mirror.value(1746), 0);
    EXPECT_EQ(mirror.countReceived(), 1);

    mirror.setPending(1745, 5);
    feed(reply(Command::WriteParameters, parameters({{1746, 5}, {0xFFFF, 5}})));
    EXPECT_TRUE(mirror.pending(1745));
}

TEST_F(FrameParserTest, PartialGroupsAreIgnored) {
    Bytes p = parameters({{20, 200}});
    p.push_back(0x00);
    p.push_back(21);
    p.push_back(0x01);
    feed(reply(Command::ReadParameters, p));
    EXPECT_EQ(mirror.value(20), 200);
    EXPECT_FALSE(mirror.received(21));
}

TEST_F(FrameParserTest, WriteAcknowledgementClearsOnlyAMatchingValue) {
    mirror.setPending(5, 100);
    feed(reply(Command::WriteParameters, parameters({{5, 99}})));
    EXPECT_TRUE(mirror.pending(5));
    EXPECT_EQ(mirror.value(5), 100);

    feed(reply(Command::WriteParameters, parameters({{5, 100}})));
    EXPECT_FALSE(mirror.pending(5));
    EXPECT_EQ(mirror.retries(5), 0);
}

TEST_F(FrameParserTest, PresenceWordIsClearedWhateverItsEcho) {
    mirror.setPending(Mirror::kPresence, 1);
    mirror.takeWriteBatch(Mirror::kPresence, 1);
    ASSERT_EQ(mirror.retries(Mirror::kPresence), 1);
    feed(reply(Command::WriteParameters, parameters({{Mirror::kPresence, 2}})));
    EXPECT_FALSE(mirror.pending(Mirror::kPresence));
    EXPECT_EQ(mirror.retries(Mirror::kPresence), 0);
}

TEST_F(FrameParserTest, DeviceIdReplyKeepsTheStoredIdUnlessTheCountIsValid) {
    feed(reply(Command::ReadDeviceId, {4, 0x00, 0xBC, 0x61, 0x4E}));
    EXPECT_EQ(device.deviceIdNumber(), 0x00BC614Eu);

    Bytes zero{0};
    feed(reply(Command::ReadDeviceId, zero));
    Bytes tooMany{21};
    tooMany.resize(22, 0x55);
    feed(reply(Command::ReadDeviceId, tooMany));
    // A count larger than the bytes that follow must not read past the payload.
    feed(reply(Command::ReadDeviceId, {5, 1, 2, 3}));
    EXPECT_EQ(device.deviceIdNumber(), 0x00BC614Eu);
    EXPECT_EQ(parser.framesParsed(), 4u);

    Bytes twenty{20};
    for (int i = 0; i < 20; ++i) twenty.push_back(static_cast<uint8_t>(i + 1));
    feed(reply(Command::ReadDeviceId, twenty));
    DeviceInfo::Id id = device.deviceId();
    EXPECT_EQ(id[0], 1);
    EXPECT_EQ(id[19], 20);
}

TEST_F(FrameParserTest, DeviceIdSinkHearsOnlyNonZeroNumbers) {
    std::vector<uint32_t> heard;
    parser.setDeviceIdSink([&](uint32_t number) { heard.push_back(number); });
    feed(reply(Command::ReadDeviceId, {4, 0, 0, 0, 0}));
    feed(reply(Command::ReadDeviceId, {2, 0x12, 0x34}));
    EXPECT_EQ(heard, std::vector<uint32_t>{0x12340000u});
}

TEST_F(FrameParserTest, NoticeProvesTheDeviceAliveButReleasesNothing) {
    state.awaitingReply = 1;
    state.missedReplies = 3;
    Bytes notice = reply(Command::DeviceNotice, {1, 2, 3, 4, 5, 6});  // 11 bytes
    ASSERT_EQ(notice.size(), 11u);
    feed(notice);
    EXPECT_EQ(state.missedReplies, 0);
    EXPECT_FALSE(released());

    // The scan resumes 11 bytes after the notice's start byte.
    feed(notice + helloReply());
    EXPECT_EQ(device.magic, Mirror::kDeviceMagic);
    EXPECT_TRUE(released());
}

TEST_F(FrameParserTest, ShortNoticeSkipsElevenBytesWhateverItsLength) {
    Bytes notice = reply(Command::DeviceNotice, {});  // 5 bytes
    Bytes readReply = reply(Command::ReadParameters, parameters({{3, 30}}));
    feed(notice + readReply);
    EXPECT_FALSE(mirror.received(3));
    // What is left of the skipped frame is noise; the next frame is read as usual.
    feed(reply(Command::ReadParameters, parameters({{4, 40}})));
    EXPECT_EQ(mirror.value(4), 40);
    EXPECT_EQ(parser.buffered(), 0u);
}

TEST_F(FrameParserTest, ReplySemaphoreIsReleasedOnlyWhileAwaited) {
    feed(helloReply());
    EXPECT_FALSE(released());

    state.awaitingReply = 1;
    feed(helloReply() + helloReply());
    EXPECT_TRUE(released());
    EXPECT_FALSE(released());  // maximum count 1

    state.missedReplies = 2;
    feed(reply(static_cast<Command>(0x42), {1, 2}));
    EXPECT_FALSE(released());
    EXPECT_EQ(state.missedReplies, 0);
}

TEST_F(FrameParserTest, ShortHelloStillAnswersButChangesNothing) {
    state.awaitingReply = 1;
    feed(reply(Command::Hello, {0x57}));
    EXPECT_EQ(device.magic, 0);
    EXPECT_TRUE(released());
}

TEST_F(FrameParserTest, LengthsBelowTheHeaderAreNoise) {
    feed(Bytes{0x80, 0x00, 0x80, 0x01, 0x80, 0x02, 0x25, 0x68});
    EXPECT_EQ(parser.framesParsed(), 0u);
    feed(helloReply());
    EXPECT_EQ(device.magic, Mirror::kDeviceMagic);
}

TEST_F(FrameParserTest, ChunkLongerThanTheBufferKeepsItsNewestFrame) {
    Bytes noise(10000, 0x11);
    feed(noise + reply(Command::ReadParameters, parameters({{12, 120}})));
    EXPECT_EQ(mirror.value(12), 120);
    EXPECT_LE(parser.buffered(), FrameParser::kBufferSize);
}

TEST_F(FrameParserTest, LongReplyIsReadByItsLengthByte) {
    // 62 groups: a 248-byte payload, the longest a short length byte describes.
    Bytes p;
    for (int i = 0; i < 62; ++i) {
        Frame::putU16(p, static_cast<uint16_t>(100 + i));
        Frame::putU16(p, static_cast<uint16_t>(i));
    }
    feed(reply(Command::ReadParameters, p));
    EXPECT_EQ(mirror.countReceived(), 62);
    EXPECT_EQ(mirror.value(161), 61);
}

TEST_F(FrameParserTest, ModeNameReplyFillsTheTableAndSelectsTheMode) {
    mirror.setPending(Mirror::kModeOperation, 0x0603);
    std::string name = "Movie night";
    Bytes p{3};
    p.insert(p.end(), name.begin(), name.end());
    feed(reply(Command::ReadModeName, p));
    EXPECT_EQ(device.modeNameText(3), "Movie night");
    EXPECT_TRUE(device.nameReceived(3));
    EXPECT_TRUE(device.nameReplied);
    EXPECT_EQ(mirror.value(Mirror::kModeOperation), 3);
    EXPECT_TRUE(mirror.received(Mirror::kModeOperation));
    EXPECT_FALSE(mirror.pending(Mirror::kModeOperation));

    // Longer names are cut at 25 bytes; number 17 selects the first slot.
    Bytes longName{17};
    longName.resize(1 + 40, 'x');
    feed(reply(Command::ReadModeName, longName));
    EXPECT_EQ(device.modeNameText(1), std::string(25, 'x'));
}

TEST_F(FrameParserTest, ModuleTextLosesItsLastTwoBytes) {
    std::string seen;
    parser.setModuleTextSink(
        [&](const uint8_t* text, size_t size) { seen.assign(text, text + size); });
    std::string text = "Get_IP:C0A80401\r\n";
    feed(reply(Command::ModuleText, Bytes(text.begin(), text.end())));
    EXPECT_EQ(seen, "Get_IP:C0A80401");
}

TEST_F(FrameParserTest, FlagRepliesSetTheirFlags) {
    feed(reply(Command::RecallMode, {1}) + reply(Command::SaveModeName, {1}) +
         reply(Command::Command20, {1}) + reply(Command::Command21, {1}));
    EXPECT_TRUE(device.recallConfirmed);
    EXPECT_TRUE(device.nameSaved);
    EXPECT_TRUE(device.command20Confirmed);
    EXPECT_TRUE(device.command21Confirmed);

    feed(reply(Command::UpgradeBlock, {0x01, 0x02, 0x03}));
    EXPECT_EQ(device.upgradeResponse, 0x010203u);
    feed(reply(Command::UpgradeStart, {0x81}));
    EXPECT_EQ(device.upgradeResponse, 0x81u);

    parser.setRelayBindNumber(0x12345678);
    feed(reply(Command::RelayBind, {0x78, 0x56, 0x34, 0x12}));
    EXPECT_TRUE(device.relayBound);
}

}  // namespace
