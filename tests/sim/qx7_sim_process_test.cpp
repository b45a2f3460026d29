// End to end: the simulated device in its own process on a pseudo-terminal,
// the link over the serial transport to the path it printed. The device is
// killed and started again, unplugged and plugged back in.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/transports/serial_transport.h"
#include "platform/clock.h"
#include "sim/sim_memory.h"
#include "support/recording_ui.h"
#include "support/wait_for.h"

extern char** environ;

namespace {

// qx7-sim as a child process; its first line of output is the terminal's path.
class SimProcess {
public:
    ~SimProcess() { kill(SIGKILL); }

    void start(const std::vector<std::string>& options) {
        int out[2];
        ASSERT_EQ(pipe2(out, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<std::string> args{QX7_SIM_PROGRAM};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ASSERT_EQ(posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (m_out >= 0) ::close(m_out);
        m_out = out[0];
        ASSERT_FALSE(nextLine().empty());
    }

    // The next line the program prints (its terminal's path); empty at its end.
    std::string nextLine() {
        std::string line;
        char c;
        while (::read(m_out, &c, 1) == 1 && c != '\n') line.push_back(c);
        if (!line.empty()) m_path = line;
        return line;
    }

    void signal(int sig) {
        if (m_pid > 0) ::kill(m_pid, sig);
    }
    void kill(int sig) {
        if (m_pid <= 0) return;
        ::kill(m_pid, sig);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        if (m_out >= 0) ::close(m_out);
        m_out = -1;
    }
    const std::string& path() const { return m_path; }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_path;
};

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
    }

    int count(int code, int argument = 0) const { return ui.countEvents(code, argument); }
    int searches() const {
        return count(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
    }

    // What the device holds after the program announced itself; 1629 is left
    // out, the preset name replies put the preset number there.
    void expectMirrorEqualsDevice() {
        SimMemory::Memory memory = SimMemory::defaults();
        memory[Mirror::kPresence] = 1;
        int differing = 0;
        for (int i = 0; i < Mirror::kSize; ++i)
            if (i != Mirror::kPresetOperation &&
                link.mirror().value(i) != memory[static_cast<size_t>(i)])
                ++differing;
        EXPECT_EQ(differing, 0);
    }

    void writeAndConfirm(int index, uint16_t value) {
        link.mirror().setPending(index, value);
        ASSERT_TRUE(waitFor([&] { return !link.mirror().pending(index); }));
        EXPECT_EQ(link.mirror().retries(index), 0) << "confirmed by the echo, not given up";
    }

    std::vector<std::string> options() const { return {"--link", portLink, "--speed", "10"}; }

    RecordingUi ui;
    Clock clock{10};
    Link link{ui, clock};
    std::string portLink;
    SimProcess sim;
};

TEST_F(SimProcessTest, KilledAndRestartedDeviceIsFoundAndReadAgain) {
    sim.start(options());
    EXPECT_EQ(sim.path().rfind("/dev/pts/", 0), 0u) << sim.path();
    ASSERT_TRUE(link.supervisor().start());
    ASSERT_TRUE(waitFor([&] { return count(LinkEvent::ReadComplete) == 1; }));
    expectMirrorEqualsDevice();
    writeAndConfirm(400, 5555);

    int before = searches();
    sim.kill(SIGKILL);
    ASSERT_TRUE(waitFor([&] { return searches() > before; }));

    sim.start(options());
    ASSERT_TRUE(waitFor([&] { return count(LinkEvent::ReadComplete) == 2; }));
    EXPECT_EQ(link.supervisor().connections(), 2u);
    expectMirrorEqualsDevice();  // a new device process: the old write is gone
    writeAndConfirm(401, 6666);
}

TEST_F(SimProcessTest, UnpluggedAndPluggedBackOnDemand) {
    sim.start(options());
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
