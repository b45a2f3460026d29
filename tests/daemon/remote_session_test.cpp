// A link through qx7d: qx7d on the simulated device in this process, the
// session its client on the Unix socket.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "daemon_fixture.h"
#include "files/settings.h"
#include "link/link_event.h"
#include "link/link_job.h"
#include "link/link_parameter_index.h"
#include "link/link_supervisor.h"
#include "remote/remote_session.h"
#include "support/manual_clock.h"
#include "support/recording_ui.h"
#include "support/wait_for.h"
#include "texts/link_texts.h"

namespace {

namespace pi = parameterIndex;
constexpr int kIndex = 219;  // a band gain: any value the user may set

// A link on a session with the fixture's qx7d, started.
struct Client {
    // qx7d's socket, or its URL with target "tcp".
    explicit Client(DaemonFixture& daemon, const std::string& over = "socket") {
        DaemonClient target;
        std::string error;
        target.configure(over == "tcp" ? "http://127.0.0.1:" + std::to_string(daemon.port()) +
                                             "/#token=" + DaemonFixture::kToken
                                       : daemon.socket(),
                         error);
        session = std::make_unique<RemoteSession>(link, target);
        session->install();
        link.supervisor().start();
    }
    ~Client() { link.supervisor().stop(); }

    bool reads(int count) {
        return waitFor([&] { return ui.countEvents(LinkEvent::ReadComplete, 0) >= count; });
    }

    ManualClock clock;
    RecordingUi ui;
    std::unique_ptr<RemoteSession> session;  // outlives the link's thread
    Link link{ui, clock};
};

}  // namespace

TEST(RemoteSessionTest, EditsUnsentWhenTheDeviceWasLostFollowTheReconnectionRule) {
    DaemonFixture daemon;
    Client client(daemon);
    ASSERT_TRUE(client.reads(1));
    struct Case {
        const char* name;
        uint32_t awayMs;  // on the link's clock
        bool anotherDevice;
        bool sent;
    };
    const Case cases[] = {
        {"the same device back in time", 0, false, true},
        {"the same device back too late", LinkSupervisor::kReconnectGraceMs + 1000, false, false},
        {"another device", 0, true, false},
    };
    uint16_t value = 600;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int reads = client.ui.countEvents(LinkEvent::ReadComplete, 0);
        int dropped = client.ui.countEvents(LinkEvent::PendingDropped, 1);
        const uint16_t before = daemon.device().value(kIndex);
        daemon.device().setAbsent(true);
        ASSERT_TRUE(waitFor([&] { return !client.link.state().alive(); }));
        ++value;
        client.link.mirror().setPending(kIndex, value);
        client.clock.advance(c.awayMs);
        if (c.anotherDevice) daemon.device().setDeviceId(daemon.device().deviceId() + 1);
        daemon.device().setAbsent(false);
        ASSERT_TRUE(client.reads(reads + 1));
        if (c.sent) {
            EXPECT_TRUE(waitFor([&] { return daemon.device().value(kIndex) == value; }));
        } else {
            EXPECT_EQ(client.ui.countEvents(LinkEvent::PendingDropped, 1), dropped + 1);
            EXPECT_EQ(client.link.mirror().value(kIndex), before);
            EXPECT_EQ(daemon.device().value(kIndex), before);
        }
    }
}

TEST(RemoteSessionTest, ModesAndPresetFilesGoThroughQx7dOnTcp) {
    TempFolder settings;
    Settings::overrideFolders(settings.folder("program"), settings.folder("user"));
    {
        DaemonFixture daemon;
        Client client(daemon, "tcp");
        ASSERT_TRUE(client.reads(1));
        auto replaced = [&](LinkJob job) {
            return waitFor([&] {
                return client.ui.countEvents(LinkEvent::ValuesReplaced, static_cast<int>(job)) == 1;
            });
        };

        ASSERT_TRUE(client.session->requestRecall(3));
        ASSERT_TRUE(replaced(LinkJob::Recall));
        EXPECT_EQ(daemon.device().value(pi::CurrentMode), 3);
        EXPECT_EQ(client.link.mirror().value(pi::CurrentMode), 3);

        const uint16_t saved = daemon.device().value(kIndex);
        client.session->requestSaveToFile("through");
        ASSERT_TRUE(waitFor([&] { return !client.ui.messages().empty(); }));
        EXPECT_EQ(client.ui.messages()[0].caption, linktext::SaveSuccessful.get());
        EXPECT_TRUE(std::filesystem::exists(settings.path("program/through.qmx")));

        daemon.device().changeAndReport(kIndex, static_cast<uint16_t>(saved + 5));
        ASSERT_TRUE(waitFor([&] { return client.link.mirror().value(kIndex) == saved + 5; }));
        client.session->requestSendFile("through.qmx");
        ASSERT_TRUE(replaced(LinkJob::SendFile));
        EXPECT_EQ(daemon.device().value(kIndex), saved);
        EXPECT_EQ(client.link.mirror().value(kIndex), saved);
    }
    Settings::overrideFolders("", "");
}

// A qx7d that takes the connection (or the request) and then says nothing must
// not hold its client for ever.
TEST(RemoteSessionTest, AQx7dThatNeverAnswersCostsTheTimeOut) {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("qx7-silent-" + std::to_string(::getpid()) + ".sock");
    std::filesystem::remove(path);
    int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(listener, 4), 0);  // never accepted: the kernel takes the connection

    DaemonClient client;
    std::string error;
    ASSERT_TRUE(client.configure(path.string(), error)) << error;
    client.setTimeout(std::chrono::milliseconds(200));
    DaemonClient::Reply reply = client.request("GET", "/api/v1/status");
    EXPECT_EQ(reply.status, 0);
    EXPECT_EQ(reply.error, "qx7d did not answer in time");
    ::close(listener);
    std::filesystem::remove(path);
}
