#include <gtest/gtest.h>

#include <vector>

#include "link/frame.h"
#include "link/transports/hid_envelope.h"
#include "link/transports/hid_frame_channel.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_backend.h"

namespace {

using Bytes = std::vector<uint8_t>;

bool writeFrame(HidDevice& handle, const Bytes& frame) {
    Bytes reports = HidEnvelope::reports(frame.data(), frame.size());
    for (size_t at = 0; at < reports.size(); at += HidDevice::kReportSize)
        if (!handle.writeReport(&reports[at], HidDevice::kReportSize, 100)) return false;
    return true;
}

TEST(SimHidBackend, DeviceIsListedWithItsIdentifiersWhilePresent) {
    Clock clock(50);
    SimDevice device;
    SimHidBackend backend(device, clock);
    backend.addOtherDevice(0x1234, 0x0001);
    auto list = backend.enumerate();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].vendor, HidFrameChannel::kVendor);
    EXPECT_EQ(list[1].product, HidFrameChannel::kProduct);

    // The other device opens but never answers.
    auto other = backend.open(list[0].path);
    ASSERT_TRUE(other);
    uint8_t report[HidDevice::kReportSize];
    EXPECT_TRUE(writeFrame(*other, Frame::build(Command::Hello, Bytes{0})));
    EXPECT_EQ(other->readReport(report, sizeof report, 20), 0);

    device.setAbsent(true);
    EXPECT_EQ(backend.enumerate().size(), 1u);
    EXPECT_FALSE(backend.open(SimHidBackend::kPath));
}

TEST(SimHidDevice, AnswersInEnvelopedReportsAndDiesWithItsGeneration) {
    Clock clock(50);
    SimDevice device;
    SimHidBackend backend(device, clock);
    auto handle = backend.open(SimHidBackend::kPath);
    ASSERT_TRUE(handle);

    ASSERT_TRUE(writeFrame(*handle, Frame::build(Command::Hello, Bytes{0})));
    uint8_t report[HidDevice::kReportSize];
    ASSERT_EQ(handle->readReport(report, sizeof report, 1000), 65);
    ASSERT_TRUE(HidEnvelope::startsEnvelope(report + 1, 64));
    Bytes expected = Frame::build(Command::Hello, Bytes{0x57, 0x54, 0x00, SimDevice::kVersion});
    EXPECT_EQ(Bytes(report + 6, report + 6 + expected.size()), expected);
    EXPECT_EQ(handle->readReport(report, sizeof report, 20), 0);

    // Gone and back: the old handle stays dead, a new one works.
    device.setAbsent(true);
    EXPECT_EQ(handle->readReport(report, sizeof report, 20), -1);
    EXPECT_FALSE(writeFrame(*handle, Frame::build(Command::Hello, Bytes{0})));
    device.setAbsent(false);
    EXPECT_EQ(handle->readReport(report, sizeof report, 20), -1);
    auto fresh = backend.open(SimHidBackend::kPath);
    ASSERT_TRUE(fresh);
    ASSERT_TRUE(writeFrame(*fresh, Frame::build(Command::Hello, Bytes{0})));
    EXPECT_EQ(fresh->readReport(report, sizeof report, 1000), 65);
}

TEST(SimHidDevice, LongRepliesSpanSeveralReportsInOrder) {
    Clock clock(50);
    SimDevice device;
    SimHidBackend backend(device, clock);
    auto handle = backend.open(SimHidBackend::kPath);
    Bytes payload;
    for (int i = 0; i < 25; ++i) Frame::putU16(payload, static_cast<uint16_t>(i));
    ASSERT_TRUE(writeFrame(*handle, Frame::build(Command::ReadParameters, payload)));

    // 105 frame bytes in a 5-byte envelope: two reports.
    Bytes data;
    uint8_t report[HidDevice::kReportSize];
    for (int r = 0; r < 2; ++r) {
        ASSERT_EQ(handle->readReport(report, sizeof report, 1000), 65);
        data.insert(data.end(), report + 1, report + 65);
    }
    Bytes frame(data.begin() + 5, data.begin() + 5 + 105);
    EXPECT_EQ(frame[2], static_cast<uint8_t>(Command::ReadParameters));
    EXPECT_EQ(Frame::getU16(&frame[3 + 24 * 4]), 24);
}

}  // namespace
