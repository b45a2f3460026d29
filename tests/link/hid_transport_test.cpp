// The USB HID transport over a fake HID bus: envelopes and reports on the
// way out, reassembly on the way in, device matching, the connect routine
// and the ways the link ends.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

#include "link/frame.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/transports/envelope_assembler.h"
#include "link/transports/hid_envelope.h"
#include "link/transports/hid_frame_channel.h"
#include "link/transports/hid_transport.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_backend.h"
#include "support/recording_ui.h"
#include "support/sim_link_harness.h"
#include "support/wait_for.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes frameOfSize(size_t size) {
    // A Read parameters reply padded to the size wanted: whole groups of
    // parameters 10, 11, ... then up to three spare bytes the parser ignores.
    Bytes payload;
    for (uint16_t index = 10; payload.size() + 4 <= size - 5; ++index) {
        Frame::putU16(payload, index);
        Frame::putU16(payload, static_cast<uint16_t>(1000 + index));
    }
    while (payload.size() < size - 5) payload.push_back(0xEE);
    return Frame::build(Command::ReadParameters, payload);
}

Bytes reportAt(const Bytes& reports, size_t n) {
    return Bytes(reports.begin() + static_cast<long>(n * HidDevice::kReportSize),
                 reports.begin() + static_cast<long>((n + 1) * HidDevice::kReportSize));
}

// What one fake device has seen and will deliver; shared by all its handles.
struct FakeHidState {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Bytes> input;
    std::vector<Bytes> written;
    std::vector<uint32_t> writeTimeouts;
    uint64_t delivered = 0;
    bool failReads = false;
    bool failWrites = false;
    bool holdWrites = false;  // a write waits until this is cleared
    bool answerReads = true;  // answers Read parameters of index 0 like the device
    EnvelopeAssembler requests{
        [this](const uint8_t* frame, size_t size) { onRequest(frame, size); }};

    void push(const Bytes& report) {
        std::lock_guard lock(mutex);
        input.push_back(report);
        changed.notify_all();
    }
    void pushFrame(const Bytes& frame) {
        Bytes reports = HidEnvelope::reports(frame.data(), frame.size());
        for (size_t n = 0; n < reports.size() / HidDevice::kReportSize; ++n)
            push(reportAt(reports, n));
    }
    uint64_t deliveredCount() {
        std::lock_guard lock(mutex);
        return delivered;
    }
    std::vector<Bytes> writtenReports() {
        std::lock_guard lock(mutex);
        return written;
    }
    void set(bool FakeHidState::*flag, bool value) {
        std::lock_guard lock(mutex);
        this->*flag = value;
        changed.notify_all();
    }

    // Called with the mutex held.
    void onRequest(const uint8_t* frame, size_t size) {
        if (!answerReads || size < 7 || frame[2] != static_cast<uint8_t>(Command::ReadParameters))
            return;
        if (Frame::getU16(frame + 3) != 0) return;
        Bytes reply = Frame::build(Command::ReadParameters, {0x00, 0x00, 0x57, 0x54});
        Bytes reports = HidEnvelope::reports(reply.data(), reply.size());
        for (size_t n = 0; n < reports.size() / HidDevice::kReportSize; ++n)
            input.push_back(reportAt(reports, n));
        changed.notify_all();
    }
};

class FakeHidDevice : public HidDevice {
public:
    explicit FakeHidDevice(std::shared_ptr<FakeHidState> state) : m_state(std::move(state)) {}

    bool writeReport(const uint8_t* report, size_t size, uint32_t timeoutMs) override {
        std::unique_lock lock(m_state->mutex);
        m_state->changed.wait(lock, [&] { return !m_state->holdWrites; });
        if (m_state->failWrites) return false;
        m_state->written.emplace_back(report, report + size);
        m_state->writeTimeouts.push_back(timeoutMs);
        m_state->requests.add(report + 1, size - 1);
        return true;
    }

    int readReport(uint8_t* report, size_t size, uint32_t timeoutMs) override {
        std::unique_lock lock(m_state->mutex);
        m_state->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [&] { return m_state->failReads || !m_state->input.empty(); });
        if (m_state->failReads) return -1;
        if (m_state->input.empty()) return 0;
        Bytes r = std::move(m_state->input.front());
        m_state->input.pop_front();
        ++m_state->delivered;
        size_t n = std::min(size, r.size());
        std::copy_n(r.begin(), n, report);
        return static_cast<int>(n);
    }

private:
    std::shared_ptr<FakeHidState> m_state;
};

class FakeHidBus : public HidBackend {
public:
    std::shared_ptr<FakeHidState> device = std::make_shared<FakeHidState>();

    void plug(const std::string& path, uint16_t vendor, uint16_t product) {
        std::lock_guard lock(m_mutex);
        m_present.push_back({path, vendor, product});
    }
    std::vector<std::string> opened() {
        std::lock_guard lock(m_mutex);
        return m_opened;
    }
    int enumerations() {
        std::lock_guard lock(m_mutex);
        return m_enumerations;
    }

    std::vector<HidDeviceInfo> enumerate() override {
        std::lock_guard lock(m_mutex);
        ++m_enumerations;
        return m_present;
    }
    std::unique_ptr<HidDevice> open(const std::string& path) override {
        std::lock_guard lock(m_mutex);
        m_opened.push_back(path);
        return std::make_unique<FakeHidDevice>(device);
    }

private:
    std::mutex m_mutex;
    std::vector<HidDeviceInfo> m_present;
    std::vector<std::string> m_opened;
    int m_enumerations = 0;
};

TEST(HidReports, SevenByteFrameTravelsInOneZeroPaddedReport) {
    FakeHidBus bus;
    bus.plug("qx7", HidFrameChannel::kVendor, HidFrameChannel::kProduct);
    HidFrameChannel cmd(bus);
    ASSERT_TRUE(cmd.open());
    Bytes frame = Frame::build(Command::WriteParameters, {0x06, 0x5E, 0x00, 0x01});
    frame.resize(7);  // any seven bytes will do; the envelope does not look inside
    ASSERT_TRUE(cmd.sendFrame(frame.data(), frame.size()));

    auto written = bus.device->writtenReports();
    ASSERT_EQ(written.size(), 1u);
    Bytes expected(HidDevice::kReportSize, 0);
    Bytes head = {0x00, 0xAE, 0x1E, 0x00, 0x07, 0xC8};
    std::copy(head.begin(), head.end(), expected.begin());
    std::copy(frame.begin(), frame.end(), expected.begin() + 6);
    EXPECT_EQ(written[0], expected);
    EXPECT_EQ(bus.device->writeTimeouts, std::vector<uint32_t>{100});
}

TEST(HidReports, HundredByteFrameTravelsInTwoReports) {
    FakeHidBus bus;
    bus.plug("qx7", HidFrameChannel::kVendor, HidFrameChannel::kProduct);
    HidFrameChannel cmd(bus);
    ASSERT_TRUE(cmd.open());
    Bytes frame = frameOfSize(100);
    ASSERT_TRUE(cmd.sendFrame(frame.data(), frame.size()));

    auto written = bus.device->writtenReports();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(Bytes(written[0].begin(), written[0].begin() + 6),
              (Bytes{0x00, 0xAE, 0x1E, 0x00, 0x64, 0xC8}));
    EXPECT_EQ(Bytes(written[0].begin() + 6, written[0].end()),
              Bytes(frame.begin(), frame.begin() + 59));
    EXPECT_EQ(written[1][0], 0x00);
    EXPECT_EQ(Bytes(written[1].begin() + 1, written[1].begin() + 42),
              Bytes(frame.begin() + 59, frame.end()));
    EXPECT_EQ(Bytes(written[1].begin() + 42, written[1].end()), Bytes(23, 0));
}

TEST(HidReports, WriteFailureOfAnyReportFailsTheFrame) {
    FakeHidBus bus;
    HidFrameChannel cmd(bus);
    Bytes frame = frameOfSize(20);
    EXPECT_FALSE(cmd.sendFrame(frame.data(), frame.size())) << "nothing open";
    bus.plug("qx7", HidFrameChannel::kVendor, HidFrameChannel::kProduct);
    ASSERT_TRUE(cmd.open());
    bus.device->set(&FakeHidState::failWrites, true);
    EXPECT_FALSE(cmd.sendFrame(frame.data(), frame.size()));
}

TEST(HidDeviceMatching, BothIdentifiersMustMatch) {
    FakeHidBus bus;
    bus.plug("other-vendor", 0x1234, HidFrameChannel::kProduct);
    bus.plug("other-product", HidFrameChannel::kVendor, 0x1111);
    HidFrameChannel cmd(bus);
    EXPECT_FALSE(cmd.open());
    EXPECT_TRUE(bus.opened().empty());

    bus.plug("qx7", HidFrameChannel::kVendor, HidFrameChannel::kProduct);
    EXPECT_TRUE(cmd.open());
    EXPECT_EQ(bus.opened(), std::vector<std::string>{"qx7"});
}

TEST(EnvelopeAssembler, HandsOverEachFrameOnceWhenItIsComplete) {
    std::vector<Bytes> frames;
    EnvelopeAssembler assembler([&](const uint8_t* f, size_t n) { frames.emplace_back(f, f + n); });
    auto feed = [&](const Bytes& report) { assembler.add(report.data() + 1, report.size() - 1); };

    Bytes frame = frameOfSize(100);
    Bytes reports = HidEnvelope::reports(frame.data(), frame.size());
    feed(reportAt(reports, 0));
    EXPECT_TRUE(frames.empty());
    feed(reportAt(reports, 1));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], frame);
    feed(Bytes(65, 0));  // a stray report after the envelope
    EXPECT_EQ(frames.size(), 1u);

    Bytes small = frameOfSize(7);
    Bytes one = HidEnvelope::reports(small.data(), small.size());
    feed(one);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1], small) << "only the announced bytes, not the padding";
}

TEST(EnvelopeAssembler, LostAndOverlongEnvelopesAreDroppedNotDelivered) {
    std::vector<Bytes> frames;
    EnvelopeAssembler assembler([&](const uint8_t* f, size_t n) { frames.emplace_back(f, f + n); });
    auto feed = [&](const Bytes& report) { assembler.add(report.data() + 1, report.size() - 1); };

    // Half an envelope, then the device starts over: the new one wins.
    Bytes big = frameOfSize(200);
    feed(reportAt(HidEnvelope::reports(big.data(), big.size()), 0));
    Bytes small = frameOfSize(12);
    feed(HidEnvelope::reports(small.data(), small.size()));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], small);

    // An envelope that announces more than the buffer holds is never handed over,
    // however many continuation reports follow.
    Bytes header(65, 0x5A);
    header[1] = 0xAE, header[2] = 0x1E, header[3] = 0xFF, header[4] = 0xFF, header[5] = 0xC8;
    feed(header);
    for (int k = 0; k < 100; ++k) feed(Bytes(65, 0x5A));
    EXPECT_EQ(frames.size(), 1u);

    // Short and empty reports are taken as they come.
    assembler.add(nullptr, 0);
    Bytes tiny = {0xAE, 0x1E};
    assembler.add(tiny.data(), tiny.size());
    feed(HidEnvelope::reports(small.data(), small.size()));
    EXPECT_EQ(frames.size(), 2u);
}

class HidTransportTest : public ::testing::Test {
protected:
    HidTransportTest() {
        bus.plug("qx7", HidFrameChannel::kVendor, HidFrameChannel::kProduct);
        auto owned = std::make_unique<HidTransport>(link.transportListener(), bus);
        transport = owned.get();
        link.setUsbTransport(std::move(owned));
    }

    void connect() {
        link.search(TransportType::UsbHid);
        ASSERT_TRUE(link.state().alive());
        ASSERT_TRUE(transport->carrierUp());
    }

    RecordingUi ui;
    Clock clock{10};
    FakeHidBus bus;
    Link link{ui, clock};
    HidTransport* transport = nullptr;
};

TEST_F(HidTransportTest, ConnectSendsReadOfParameterZeroAndReturnsWhenAnswered) {
    connect();
    EXPECT_GE(ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching), 1);
    EXPECT_EQ(link.mirror().value(0), 22356);
    auto written = bus.device->writtenReports();
    ASSERT_FALSE(written.empty());
    Bytes request = Frame::build(Command::ReadParameters, {0, 0});
    EXPECT_EQ(
        Bytes(written[0].begin() + 6, written[0].begin() + 6 + static_cast<long>(request.size())),
        request);
}

TEST(HidTransportSearch, ConnectWaitsForTheDeviceToAppear) {
    RecordingUi ui;
    Clock clock(10);
    FakeHidBus bus;
    Link link(ui, clock);
    link.setUsbTransport(std::make_unique<HidTransport>(link.transportListener(), bus));

    std::thread search([&] { link.search(TransportType::UsbHid); });
    ASSERT_TRUE(waitFor([&] { return bus.enumerations() >= 3; }));
    EXPECT_FALSE(link.state().alive());
    bus.plug("qx7", HidFrameChannel::kVendor, HidFrameChannel::kProduct);
    search.join();
    EXPECT_TRUE(link.state().alive());
    EXPECT_EQ(ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching), 1)
        << "announced once, not at every look at the bus";
}

TEST_F(HidTransportTest, ConnectGivesUpOnAStop) {
    bus.device->set(&FakeHidState::answerReads, false);
    std::thread search([&] { link.search(TransportType::UsbHid); });
    ASSERT_TRUE(waitFor([&] { return bus.opened().size() >= 2; }))
        << "a silent device is opened again";
    link.state().stop.request_stop();
    search.join();
    EXPECT_FALSE(link.state().alive());
}

TEST_F(HidTransportTest, SixtyByteFrameIsParsedOnlyWhenItsSecondReportArrives) {
    connect();
    Bytes frame = frameOfSize(60);
    Bytes reports = HidEnvelope::reports(frame.data(), frame.size());
    ASSERT_EQ(reports.size(), 2 * HidDevice::kReportSize);

    uint64_t before = bus.device->deliveredCount();
    bus.device->push(reportAt(reports, 0));
    ASSERT_TRUE(waitFor([&] { return bus.device->deliveredCount() == before + 1; }));
    EXPECT_FALSE(link.mirror().received(10));

    bus.device->push(reportAt(reports, 1));
    ASSERT_TRUE(waitFor([&] { return link.mirror().received(22); }));
    EXPECT_EQ(link.mirror().value(10), 1010);
    EXPECT_EQ(link.mirror().value(22), 1022);
}

TEST_F(HidTransportTest, NoiseReportsAreDroppedAndLaterFramesStillArrive) {
    connect();
    for (int k = 0; k < 40; ++k) bus.device->push(Bytes(65, static_cast<uint8_t>(k * 7)));
    bus.device->push(Bytes{0});  // a report with no data
    bus.device->pushFrame(frameOfSize(100));
    ASSERT_TRUE(waitFor([&] { return link.mirror().received(32); }));
    EXPECT_TRUE(link.state().alive());
    EXPECT_TRUE(transport->carrierUp());
}

TEST_F(HidTransportTest, ReadFailureEndsTheReaderAndTheLink) {
    connect();
    bus.device->set(&FakeHidState::failReads, true);
    ASSERT_TRUE(waitFor([&] { return !transport->carrierUp(); }));
    EXPECT_FALSE(link.state().alive());
    EXPECT_FALSE(link.waitForReply(60000)) << "no wait on a transport that is not connected";
}

TEST_F(HidTransportTest, WriteFailureEndsTheLink) {
    connect();
    bus.device->set(&FakeHidState::failWrites, true);
    link.readParameter(5);
    EXPECT_FALSE(link.state().alive());
}

TEST_F(HidTransportTest, AWriteThatDoesNotCompleteIsAbandonedAndTheDeviceLeftUntilItDoes) {
    connect();
    bus.device->set(&FakeHidState::holdWrites, true);
    auto start = std::chrono::steady_clock::now();
    link.readParameter(5);
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("a write that never completes was given up after %.0f ms (limit %u ms)\n",
                took.count(), HidFrameChannel::kWriteTimeoutMs);
    EXPECT_FALSE(link.state().alive());
    link.state().linkAlive = 1;
    link.readParameter(6);
    EXPECT_FALSE(link.state().alive()) << "the next write fails at once";

    size_t opened = bus.opened().size();
    bus.device->set(&FakeHidState::holdWrites, false);
    connect();
    EXPECT_GT(bus.opened().size(), opened);
}

TEST_F(HidTransportTest, CloseStopsTheReaderAndLaterSendsFail) {
    connect();
    transport->close();
    EXPECT_FALSE(transport->carrierUp());
    link.state().linkAlive = 1;
    link.readParameter(5);
    EXPECT_FALSE(link.state().alive());
}

// The whole link over the simulated device on USB: unplugged while steady,
// the link announces the loss, searches, and reads the device again when it
// is back.
TEST(HidLink, UnplugAndReplugReconnectsAndReadsAgain) {
    RecordingUi ui;
    Clock clock(kLinkTestSpeed);
    SimDevice device;
    SimHidBackend backend(device, clock);
    Link link(ui, clock);
    link.setUsbTransport(std::make_unique<HidTransport>(link.transportListener(), backend));
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return ui.countEvents(LinkEvent::ReadComplete, 0) == 1; }));
    EXPECT_EQ(ui.title(), "QX7-USB");
    int searches = ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);

    device.setAbsent(true);
    ASSERT_TRUE(waitFor([&] {
        return ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching) >
               searches;
    }));
    EXPECT_EQ(link.mirror().value(100), device.value(100)) << "the mirror keeps its values";
    device.setAbsent(false);
    ASSERT_TRUE(waitFor([&] { return ui.countEvents(LinkEvent::ReadComplete, 0) == 2; }));
    EXPECT_EQ(link.supervisor().connections(), 2u);
    link.supervisor().stop();
}

}  // namespace
