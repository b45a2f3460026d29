// The whole link over the serial transport to the simulated device on a
// pseudo-terminal: connection, full read, confirmed writes, the port
// vanishing and coming back.
#include <unistd.h>

#include <gtest/gtest.h>

#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/transports/serial_transport.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_pty_server.h"
#include "support/recording_ui.h"
#include "support/sim_link_harness.h"
#include "support/wait_for.h"

namespace {

class SerialLinkTest : public ::testing::Test {
protected:
    SerialLinkTest() {
        portLink = ::testing::TempDir() + "qx7-serial-link-" + std::to_string(::getpid());
        server.setLinkPath(portLink);
        link.setTransport(TransportType::Serial, std::make_unique<SerialTransport>(link, [this] {
                              return std::vector<std::string>{portLink};
                          }));
    }
    ~SerialLinkTest() override {
        link.supervisor().stop();
        link.supervisor().join();
        server.stop();
    }

    int count(int code, int argument = 0) const { return ui.countEvents(code, argument); }
    int searches() const {
        return count(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
    }

    // Entry 1629 is left out: the mode name replies put the mode number there.
    void expectMirrorEqualsDevice() {
        SimDevice::Memory memory = device.memory();
        int differing = 0;
        for (int i = 0; i < Mirror::kSize; ++i)
            if (i != Mirror::kModeOperation &&
                link.mirror().value(i) != memory[static_cast<size_t>(i)])
                ++differing;
        EXPECT_EQ(differing, 0);
    }

    RecordingUi ui;
    Clock clock{kLinkTestSpeed};
    SimDevice device;
    SimPtyServer server{device, clock};
    std::string portLink;
    Link link{ui, clock};
};

TEST_F(SerialLinkTest, ConnectsReadsWritesAndReconnectsAfterThePortVanished) {
    ASSERT_TRUE(server.start()) << server.error();
    link.supervisor().setInitialTransportType(TransportType::Serial);
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return count(LinkEvent::ReadComplete) == 1; }));
    EXPECT_EQ(ui.title(), "QX7-COM");
    EXPECT_EQ(count(LinkEvent::ConnectionState, LinkEvent::Connection::Connected), 1);
    EXPECT_EQ(device.value(Mirror::kPresence), 1) << "the program announced itself";
    expectMirrorEqualsDevice();

    link.mirror().setPending(200, 4321);
    ASSERT_TRUE(waitFor([&] { return !link.mirror().pending(200); }));
    EXPECT_EQ(device.value(200), 4321);

    int before = searches();
    server.stop();
    ASSERT_TRUE(waitFor([&] { return searches() > before; }));
    EXPECT_EQ(link.mirror().value(200), 4321) << "the mirror keeps its values";

    device.setValue(300, 777);  // changed on the device while it was away
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_TRUE(waitFor([&] { return count(LinkEvent::ReadComplete) == 2; }));
    EXPECT_EQ(link.supervisor().connections(), 2u);
    EXPECT_EQ(link.mirror().value(300), 777);
    expectMirrorEqualsDevice();
}

TEST_F(SerialLinkTest, RepliesInSmallLatePiecesStillGiveAFullRead) {
    SimFaults faults;
    faults.chunkSize = 5;
    faults.chunkDelayMs = 1;
    faults.replyDelayMs = 30;
    device.setFaults(faults);
    ASSERT_TRUE(server.start()) << server.error();
    link.supervisor().setInitialTransportType(TransportType::Bluetooth);
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return count(LinkEvent::ReadComplete) == 1; }));
    EXPECT_EQ(ui.title(), "QX7-BT");
    expectMirrorEqualsDevice();
}

TEST_F(SerialLinkTest, NoisyLineStillGivesAFullRead) {
    SimFaults faults;
    faults.corruptBytes = 0.0005;
    faults.dropReplies = 0.02;
    device.setFaults(faults);
    ASSERT_TRUE(server.start()) << server.error();
    link.supervisor().setInitialTransportType(TransportType::Serial);
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return count(LinkEvent::ReadComplete) == 1; }));
    expectMirrorEqualsDevice();
}

TEST_F(SerialLinkTest, StopEndsASearchForAPortThatIsNotThere) {
    link.supervisor().setInitialTransportType(TransportType::Serial);
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return searches() >= 1; }));
    link.supervisor().stop();
    EXPECT_FALSE(link.supervisor().threadRunning());
}

}  // namespace
