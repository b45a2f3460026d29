// End to end: the simulated device in its own process on a pseudo-terminal,
// the link over the serial transport to the path it printed. The device is
// killed and started again, unplugged and plugged back in.
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/transports/serial_transport.h"
#include "platform/clock.h"
#include "sim/sim_memory.h"
#include "support/recording_ui.h"
#include "support/sim_process.h"
#include "support/wait_for.h"

namespace {

// The device is a process of its own. Under the sanitizers on a loaded
// machine it can fall silent for longer than the link's silence limit
// shortened by a fast clock, and the link would rightly give it up.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr double kSpeed = 1;
#else
constexpr double kSpeed = 10;
#endif

class SimProcessTest : public ::testing::Test {
protected:
    SimProcessTest() {
        portLink = ::testing::TempDir() + "qx7-sim-process-" + std::to_string(::getpid());
        link.setTransport(TransportType::Serial, std::make_unique<SerialTransport>(link, [this] {
                              return std::vector<std::string>{portLink};
                          }));
        link.supervisor().setInitialTransportType(TransportType::Serial);
    }
    ~SimProcessTest() override {
        link.supervisor().stop();
        link.supervisor().join();
        ::unlink(portLink.c_str());
    }

    int count(int code, int argument = 0) const { return ui.countEvents(code, argument); }
    int searches() const {
        return count(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
    }

    // What the device holds after the program announced itself; 1629 is left
    // out, the mode name replies put the mode number there.
    void expectMirrorEqualsDevice() {
        SimMemory::Memory memory = SimMemory::defaults();
        memory[Mirror::kPresence] = 1;
        int differing = 0;
        for (int i = 0; i < Mirror::kSize; ++i)
            if (i != Mirror::kModeOperation &&
                link.mirror().value(i) != memory[static_cast<size_t>(i)])
                ++differing;
        EXPECT_EQ(differing, 0);
    }

    void writeAndConfirm(int index, uint16_t value) {
        link.mirror().setPending(index, value);
        // The echo clears the mark first and the retry count just after.
        ASSERT_TRUE(waitFor([&] {
            return !link.mirror().pending(index) && link.mirror().retries(index) == 0;
        })) << "confirmed by the echo, not given up";
    }

    std::vector<std::string> options() const {
        return {"--link", portLink, "--speed", std::to_string(kSpeed)};
    }

    RecordingUi ui;
    Clock clock{kSpeed};
    Link link{ui, clock};
    std::string portLink;
    SimProcess sim{QX7_SIM_PROGRAM};
};

TEST_F(SimProcessTest, KilledAndRestartedDeviceIsFoundAndReadAgain) {
    ASSERT_TRUE(sim.start(options()));
    EXPECT_EQ(sim.path().rfind("/dev/pts/", 0), 0u) << sim.path();
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return count(LinkEvent::ReadComplete) == 1; }));
    expectMirrorEqualsDevice();
    writeAndConfirm(400, 5555);

    int before = searches();
    // A killed device leaves its symbolic link behind, naming a terminal
    // number that another test's terminal may take next; the link must not
    // follow it there.
    ::unlink(portLink.c_str());
    sim.kill(SIGKILL);
    ASSERT_TRUE(waitFor([&] { return searches() > before; }));

    ASSERT_TRUE(sim.start(options()));
    ASSERT_TRUE(waitFor([&] { return count(LinkEvent::ReadComplete) == 2; }));
    EXPECT_EQ(link.supervisor().connections(), 2u);
    expectMirrorEqualsDevice();  // a new device process: the old write is gone
    writeAndConfirm(401, 6666);
}

TEST_F(SimProcessTest, UnpluggedAndPluggedBackOnDemand) {
    ASSERT_TRUE(sim.start(options()));
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return count(LinkEvent::ReadComplete) == 1; }));
    writeAndConfirm(402, 7777);

    int before = searches();
    sim.signal(SIGUSR1);
    ASSERT_TRUE(waitFor([&] { return searches() > before; }));
    sim.signal(SIGUSR2);
    EXPECT_FALSE(sim.nextLine().empty()) << "the new terminal is announced";
    ASSERT_TRUE(waitFor([&] { return count(LinkEvent::ReadComplete) == 2; }));
    EXPECT_EQ(link.mirror().value(402), 7777) << "the same device kept its memory";
}

}  // namespace
