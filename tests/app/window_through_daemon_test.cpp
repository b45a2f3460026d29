// The window through qx7d: qx7d on the simulated device in this process, the
// window its client on a Unix socket in a temporary folder.
#include "binding/parameter_index.h"
#include "controls/synthetic_input.h"
#include "daemon/daemon_fixture.h"
#include "link/preset_jobs.h"
#include "main_window_fixture.h"
#include "pages/main_header.h"
#include "remote/daemon_client.h"
#include "remote/remote_session.h"
#include "texts/remote_texts.h"

namespace {

namespace pi = parameterIndex;

class WindowThroughDaemonTest : public MainWindowTest {
protected:
    // The window on a session with qx7d at target.
    void startThrough(const std::string& target) {
        ui = std::make_unique<QtLinkUi>();
        link = std::make_unique<Link>(*ui, clock);
        DaemonClient client;
        std::string error;
        ASSERT_TRUE(client.configure(target, error)) << error;
        session = std::make_unique<RemoteSession>(*link, client);
        session->install();
        window = std::make_unique<MainWindow>(*link, *ui);
        window->setExitHandler([this](int code) { exits.push_back(code); });
        window->setRemote(session.get());
        ASSERT_TRUE(window->start());
        window->show();
    }

    void TearDown() override {
        window.reset();
        link.reset();
        session.reset();
        MainWindowTest::TearDown();
    }

    std::unique_ptr<RemoteSession> session;
};

}  // namespace

TEST_F(WindowThroughDaemonTest, ReadsEditsAndFollowsTheDeviceThroughQx7d) {
    DaemonFixture daemon;
    const SimDevice::Memory before = daemon.device().memory();
    startThrough(daemon.socket());
    ASSERT_TRUE(processUntil([&] { return window->deviceLive(); }));
    // The user's values, read and untouched (the device keeps some words of its own).
    const SimDevice::Memory after = daemon.device().memory();
    for (int i = 0; i < Mirror::kSize; ++i) {
        if (!PresetJobs::takenFromFile(i)) continue;
        ASSERT_EQ(link->mirror().value(i), after[static_cast<size_t>(i)]) << i;
        ASSERT_EQ(after[static_cast<size_t>(i)], before[static_cast<size_t>(i)]) << i;
    }

    // An edit in the window reaches the device.
    ValueSlider& music = window->header().slider(0);
    const int shown = music.value();
    SyntheticInput::wheel(&music, QPointF(music.width() / 2.0, music.height() / 2.0), 1);
    const uint16_t edited = link->mirror().value(pi::MusicVolume);
    ASSERT_NE(music.value(), shown);
    EXPECT_TRUE(processUntil([&] { return daemon.device().value(pi::MusicVolume) == edited; }));

    // Changes made by a script and on the device show in the window.
    DaemonClient script;
    std::string error;
    ASSERT_TRUE(script.configure(daemon.socket(), error));
    struct Change {
        const char* how;
        std::function<void()> make;
        int percent;
    };
    const Change changes[] = {
        {"script", [&] { script.request("PUT", "/api/v1/master", R"({"music":33})"); }, 33},
        {"device", [&] { daemon.device().changeAndReport(pi::MusicVolume, 500 + 44); }, 44},
    };
    for (const Change& c : changes) {
        c.make();
        // Each change settled on the device before the next one.
        EXPECT_TRUE(processUntil([&] {
            return music.value() == c.percent &&
                   daemon.device().value(pi::MusicVolume) == 500 + c.percent;
        })) << c.how;
    }
}

TEST_F(WindowThroughDaemonTest, SaysWhereQx7dWasLookedForAndRefusesWhatItDoesNotOffer) {
    const std::string socket = (root() / "run" / "none.sock").string();
    startThrough(socket);
    ASSERT_TRUE(processUntil(
        [&] { return window->statePanel().state() == DeviceStatePanel::State::NoDevice; }));
    EXPECT_EQ(window->statePanel().message().toStdString(),
              formatText(remotetext::NotReached, socket.c_str()));
    EXPECT_FALSE(window->binding().writable());

    window->openWifiSettings();
    window->openFirmwareUpgrade();
    window->openChannelTest();
    EXPECT_EQ(boxesWithText(QString::fromUtf8(remotetext::NotThroughDaemon.get())), 3);
}
