// The serial transport on pseudo-terminals, which stand in for serial cables.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "link/frame.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/transports/serial_line.h"
#include "link/transports/serial_transport.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_pty_server.h"
#include "support/recording_ui.h"
#include "support/wait_for.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A serial port with nothing but the test behind it.
class Pty {
public:
    Pty() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(m_master, 0);
        EXPECT_EQ(grantpt(m_master), 0);
        EXPECT_EQ(unlockpt(m_master), 0);
        char name[128] = {};
        EXPECT_EQ(ptsname_r(m_master, name, sizeof name), 0);
        m_path = name;
        fcntl(m_master, F_SETFL, O_NONBLOCK);
    }
    ~Pty() { close(); }

    const std::string& path() const { return m_path; }
    void write(const Bytes& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // What the program has sent so far.
    Bytes received() {
        Bytes all;
        uint8_t buffer[1024];
        ssize_t n;
        while ((n = ::read(m_master, buffer, sizeof buffer)) > 0)
            all.insert(all.end(), buffer, buffer + n);
        return all;
    }
    // The cable is pulled: the program's end hangs up.
    void close() {
        if (m_master >= 0) ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    std::string m_path;
};

Bytes parameterReply(uint16_t index, uint16_t value) {
    Bytes payload;
    Frame::putU16(payload, index);
    Frame::putU16(payload, value);
    return Frame::build(Command::ReadParameters, payload);
}

TEST(SerialLine, OpensWithTheDevicesLineSettings) {
    Pty pty;
    SerialLine line;
    ASSERT_TRUE(line.open(pty.path())) << line.error();
    SerialLine::Settings s = line.settings();
    EXPECT_EQ(s.inputBaud, 128000u);
    EXPECT_EQ(s.outputBaud, 128000u);
    EXPECT_EQ(s.dataBits, 8);
    EXPECT_FALSE(s.parity);
    EXPECT_EQ(s.stopBits, 1);
    EXPECT_FALSE(s.hardwareFlow);
    EXPECT_FALSE(s.softwareFlow);
    EXPECT_TRUE(s.raw);
    EXPECT_TRUE(s.exclusive);
    if (geteuid() != 0) {  // the superuser may open an exclusive terminal anyway
        SerialLine second;
        EXPECT_FALSE(second.open(pty.path()));
    }
    line.close();
    SerialLine again;
    EXPECT_TRUE(again.open(pty.path())) << "free again after close: " << again.error();
}

TEST(SerialLine, FailsCleanlyOnWhatIsNotAPort) {
    SerialLine line;
    EXPECT_FALSE(line.open("/nonexistent/ttyUSB0"));
    EXPECT_NE(line.error().find("/nonexistent/ttyUSB0"), std::string::npos);
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(line.open("/dev/null")) << "not a terminal";
    EXPECT_FALSE(line.isOpen());
    uint8_t byte = 0;
    EXPECT_EQ(line.read(&byte, 1), SerialLine::kGone);
    EXPECT_FALSE(line.write(&byte, 1, 10));
}

class SerialTransportTest : public ::testing::Test {
protected:
    SerialTransportTest() {
        auto owned = std::make_unique<SerialTransport>(link.transportListener(), [this] {
            ++enumerations;
            std::lock_guard lock(mutex);
            return ports;
        });
        transport = owned.get();
        link.setSerialTransport(std::move(owned));
        link.state().transportType = TransportType::Serial;
    }
    void setPorts(std::vector<std::string> list) {
        std::lock_guard lock(mutex);
        ports = std::move(list);
    }

    RecordingUi ui;
    Clock clock;
    Link link{ui, clock};
    SerialTransport* transport = nullptr;
    std::mutex mutex;
    std::vector<std::string> ports;
    std::atomic<int> enumerations{0};
};

TEST_F(SerialTransportTest, TriesPortsInTurnAndKeepsTheOneThatAnswers) {
    Pty first, second;
    SimDevice device;
    SimPtyServer third(device, clock);
    ASSERT_TRUE(third.start()) << third.error();
    setPorts({first.path(), second.path(), third.path()});

    link.search(TransportType::Serial);
    EXPECT_TRUE(transport->carrierUp());
    EXPECT_TRUE(link.state().alive());
    EXPECT_EQ(transport->currentPort(), third.path());
    EXPECT_EQ(link.mirror().value(0), 22356);
    Bytes request = Frame::build(Command::ReadParameters, {0, 0});
    EXPECT_EQ(first.received(), request) << "the first port was asked and left";
    EXPECT_EQ(second.received(), request);
    EXPECT_EQ(enumerations, 1);
}

TEST_F(SerialTransportTest, SearchGoesOnWhileNoPortAnswersAndEndsOnAStop) {
    Pty silent;
    setPorts({"/nonexistent/ttyUSB9", silent.path()});
    std::thread search([&] { link.search(TransportType::Serial); });
    ASSERT_TRUE(waitFor([&] { return enumerations >= 3; }))
        << "the list is rebuilt after each pass";
    link.state().stop.request_stop();
    search.join();
    EXPECT_FALSE(link.state().alive());
    EXPECT_EQ(ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching), 1);
}

TEST_F(SerialTransportTest, FrameSplitOverTwoReadsIsParsed) {
    Pty pty;
    ASSERT_TRUE(transport->open(pty.path()));
    Bytes reply = parameterReply(5, 1234);
    pty.write(Bytes(reply.begin(), reply.begin() + 4));
    ASSERT_TRUE(waitFor([&] { return transport->chunksRead() == 1; }));
    EXPECT_FALSE(link.mirror().received(5));
    pty.write(Bytes(reply.begin() + 4, reply.end()));
    ASSERT_TRUE(waitFor([&] { return link.mirror().received(5); }));
    EXPECT_EQ(link.mirror().value(5), 1234);
    EXPECT_EQ(transport->chunksRead(), 2u);
}

TEST_F(SerialTransportTest, NoiseOnTheLineIsSkipped) {
    Pty pty;
    ASSERT_TRUE(transport->open(pty.path()));
    Bytes noise;
    for (int k = 0; k < 3000; ++k) noise.push_back(static_cast<uint8_t>(k * 131 + 7));
    noise.push_back(0x80);  // a start byte with a length that runs past the end
    noise.push_back(0xF0);
    pty.write(noise);
    pty.write(parameterReply(6, 4321));
    ASSERT_TRUE(waitFor([&] { return link.mirror().received(6); }));
    EXPECT_EQ(link.mirror().value(6), 4321);
    EXPECT_TRUE(transport->carrierUp());
}

TEST_F(SerialTransportTest, VanishingPortIsClosedAndEndsTheLink) {
    Pty pty;
    ASSERT_TRUE(transport->open(pty.path()));
    link.state().linkAlive = 1;
    pty.close();
    ASSERT_TRUE(waitFor([&] { return !transport->carrierUp(); }));
    EXPECT_FALSE(link.state().alive());
    EXPECT_EQ(transport->currentPort(), "");
    link.readParameter(0);  // nothing to write to: no effect, no crash
    EXPECT_FALSE(link.waitForReply(60000));
}

TEST_F(SerialTransportTest, PortVanishingDuringWritesEndsCleanly) {
    Pty pty;
    ASSERT_TRUE(transport->open(pty.path()));
    link.state().linkAlive = 1;
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        Bytes payload(200, 0x11);
        while (!stop) link.send(Command::WriteParameters, payload);
    });
    ASSERT_TRUE(waitFor([&] { return !pty.received().empty(); })) << "writes are under way";
    pty.close();
    ASSERT_TRUE(waitFor([&] { return !transport->carrierUp(); }));
    stop = true;
    writer.join();
    EXPECT_FALSE(link.state().alive());
}

TEST_F(SerialTransportTest, CloseReleasesASenderThatWaitsForAReply) {
    Pty pty;
    ASSERT_TRUE(transport->open(pty.path()));
    link.state().awaitingReply = 1;
    transport->close();
    EXPECT_TRUE(link.state().replySemaphore.tryAcquire()) << "a waiting sender would wake now";
    EXPECT_FALSE(transport->carrierUp());

    ASSERT_TRUE(transport->open(pty.path()));
    link.state().awaitingReply = 0;
    transport->close();
    EXPECT_FALSE(link.state().replySemaphore.tryAcquire()) << "nobody waits: nothing released";
}

TEST_F(SerialTransportTest, ClosingFromSeveralThreadsAtOnceIsSafe) {
    for (int round = 0; round < 20; ++round) {
        Pty pty;
        ASSERT_TRUE(transport->open(pty.path()));
        std::thread a([&] { transport->close(); });
        std::thread b([&] { transport->close(); });
        pty.close();  // and the reader closes it too, from its side
        a.join();
        b.join();
        EXPECT_FALSE(transport->carrierUp());
    }
}

}  // namespace
