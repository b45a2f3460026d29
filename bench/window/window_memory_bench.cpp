// The window shown and connected to the built-in simulated device, as the
// program runs it: prints the resident memory once the full read is over, then
// the processor time the whole process (and its window thread alone) takes
// over a quiet spell in which nothing happens.
// Usage: window_memory_bench [--quiet-seconds N] [Qt options]; needs a display
// (Xvfb, or QT_QPA_PLATFORM=offscreen).
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_style.h"
#include "app/main_window.h"
#include "app/qt_link_ui.h"
#include "connect/transport_choice.h"
#include "files/settings.h"
#include "link/link.h"
#include "link/link_supervisor.h"
#include "platform/clock.h"
#include "platform/heap_policy.h"
#include "platform/instance_lock.h"
#include "texts/ui_texts.h"

namespace {

const TransportChoice::Program kProgram = {"window_memory_bench", "Usage: window_memory_bench\n"};

// kB from a line of /proc/self/status, or -1.
long statusKb(const std::string& key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + ":", 0) == 0) return std::atol(line.c_str() + key.size() + 1);
    return -1;
}

// User plus system clock ticks of a /proc stat file.
long long ticks(const std::string& statPath) {
    std::ifstream in(statPath);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t end = text.rfind(')');  // the name may hold spaces
    if (end == std::string::npos) return 0;
    std::istringstream fields(text.substr(end + 2));
    std::string skip;
    for (int i = 3; i < 14; ++i) fields >> skip;
    long long user = 0, system = 0;
    fields >> user >> system;
    return user + system;
}

std::string mainThreadStat() {
    return "/proc/self/task/" + std::to_string(getpid()) + "/stat";
}

// Runs the event loop, as the program does, until done() or the deadline;
// false at the deadline.
template <typename Done>
bool runUntil(Done done, int ms) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    poll.start(50);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void printMemory(const char* when) {
    struct mallinfo2 heap = mallinfo2();
    std::printf("%-22s VmRSS %5.1f MB  VmHWM %5.1f MB  RssAnon %5.1f MB  heap in use %5.1f MB\n",
                when, statusKb("VmRSS") / 1024.0, statusKb("VmHWM") / 1024.0,
                statusKb("RssAnon") / 1024.0, double(heap.uordblks + heap.hblkhd) / (1 << 20));
}

}  // namespace

int main(int argc, char** argv) {
    HeapPolicy::returnLargeBlocks();
    int quietSeconds = 20;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--quiet-seconds") quietSeconds = std::atoi(argv[i + 1]);
    auto folder =
        std::filesystem::temp_directory_path() / ("qx7-window-memory-" + std::to_string(getpid()));
    for (const char* sub : {"program", "user", "run"})
        std::filesystem::create_directories(folder / sub);
    Settings::overrideFolders((folder / "program").string() + "/",
                              (folder / "user").string() + "/");
    InstanceLock::overrideFolder((folder / "run").string());

    QApplication app(argc, argv);
    AppStyle::install(app);
    std::vector<std::string> args{"--simulated"};
    TransportChoice choice;
    if (auto code = choice.parseFor(kProgram, args)) return *code;
    int code = 0;
    {
        QtLinkUi ui;
        Link link(ui, Clock::system());
        std::string error;
        if (!choice.install(link, error)) {
            std::fprintf(stderr, "window_memory_bench: %s\n", error.c_str());
            return 1;
        }
        MainWindow window(link, ui);
        if (!window.start()) return 1;
        window.show();
        const QString connected = QString::fromUtf8(uitext::ConnectionState[0].get());
        bool ready = runUntil(
            [&] {
                ProgressDialog* progress = ui.progressDialog();
                return window.titleButton(3).text() == connected &&
                       !(progress && progress->isVisible()) &&
                       link.supervisor().steadyIterations() > 0;
            },
            60000);
        if (!ready) {
            std::fprintf(stderr, "window_memory_bench: no connection within a minute\n");
            code = 1;
        } else {
            runFor(3000);  // the last paints and the first keep-alives
            printMemory("shown and connected:");
            long long before = ticks("/proc/self/stat");
            long long beforeMain = ticks(mainThreadStat());
            auto started = std::chrono::steady_clock::now();
            runFor(quietSeconds * 1000);
            double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            double hz = double(sysconf(_SC_CLK_TCK));
            double all = 100.0 * double(ticks("/proc/self/stat") - before) / hz / seconds;
            double main = 100.0 * double(ticks(mainThreadStat()) - beforeMain) / hz / seconds;
            std::printf("idle over %.0f s: %.2f %% of a core (window thread %.2f %%)\n", seconds,
                        all, main);
            printMemory("after the quiet spell:");
        }
        ui.close();
    }
    std::filesystem::remove_all(folder);
    return code;
}
