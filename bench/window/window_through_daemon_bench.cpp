// The window through qx7d: qx7d on the simulated device in this process, the
// window its client on the Unix socket. Prints how long it takes from the
// window's start to all 1746 values read and the window taking edits, over
// several starts. Needs a display (Xvfb, or QT_QPA_PLATFORM=offscreen).
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/app_style.h"
#include "app/main_window.h"
#include "app/qt_link_ui.h"
#include "daemon/daemon_fixture.h"  // of the tests
#include "files/settings.h"
#include "link/link.h"
#include "platform/clock.h"
#include "platform/instance_lock.h"
#include "remote/daemon_client.h"
#include "remote/remote_session.h"

namespace {

using Steady = std::chrono::steady_clock;
constexpr int kStarts = 10;

// Milliseconds from the window's start to a live window; negative when it
// was not live within a minute.
double timeOneStart(const std::string& socket) {
    QtLinkUi ui;
    Link link(ui, Clock::system());
    DaemonClient client;
    std::string error;
    if (!client.configure(socket, error)) return -1;
    RemoteSession session(link, client);
    session.install();
    MainWindow window(link, ui);
    window.setRemote(&session);
    auto started = Steady::now();
    if (!window.start()) return -1;
    window.show();
    auto deadline = started + std::chrono::minutes(1);
    while (!window.deviceLive() && Steady::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    double ms = std::chrono::duration<double, std::milli>(Steady::now() - started).count();
    ui.close();
    return window.deviceLive() ? ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
    auto folder = std::filesystem::temp_directory_path() /
                  ("qx7-window-daemon-bench-" + std::to_string(getpid()));
    for (const char* sub : {"program", "user", "run"})
        std::filesystem::create_directories(folder / sub);
    Settings::overrideFolders((folder / "program").string() + "/",
                              (folder / "user").string() + "/");
    InstanceLock::overrideFolder((folder / "run").string());
    QApplication app(argc, argv);
    AppStyle::install(app);
    int code = 0;
    {
        DaemonFixture daemon;
        std::vector<double> samples;
        for (int i = 0; i < kStarts; ++i) {
            double ms = timeOneStart(daemon.socket());
            if (ms < 0) {
                std::fprintf(stderr, "window_through_daemon_bench: not live within a minute\n");
                code = 1;
                break;
            }
            samples.push_back(ms);
        }
        if (!samples.empty()) {
            std::sort(samples.begin(), samples.end());
            std::printf(
                "window through qx7d, start to all values read and editable: "
                "p50 %.1f ms  max %.1f ms  (%zu starts; target < 1000 ms)\n",
                samples[samples.size() / 2], samples.back(), samples.size());
        }
    }
    std::filesystem::remove_all(folder);
    return code;
}
