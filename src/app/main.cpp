// qx7: the control program's window. Finds the device on USB unless told
// otherwise (--serial, --bluetooth, --simulated), or goes through a running
// qx7d (--daemon).
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_style.h"
#include "app/main_window.h"
#include "app/qt_link_ui.h"
#include "app/screenshot_run.h"
#include "app/software_update_start.h"
#include "connect/transport_choice.h"
#include "link/firmware_upgrade.h"
#include "link/link.h"
#include "platform/clock.h"
#include "platform/heap_policy.h"
#include "platform/instance_lock.h"
#include "platform/qt/message_box.h"
#include "platform/qt/quit_on_signal.h"
#include "remote/daemon_client.h"
#include "remote/remote_session.h"
#include "texts/language.h"

namespace {

const TransportChoice::Program kProgram = {
    "qx7",
    "Usage: qx7 [options]\n"
    "The control program of the QX7 audio processor.\n"
    "  --daemon [URL|SOCKET]  through a running qx7d, which holds the device: its\n"
    "                        Unix socket (default $XDG_RUNTIME_DIR/qx7d.sock) or\n"
    "                        http://HOST:PORT[#token=TOKEN]; excludes the transport\n"
    "                        options and --screenshots; firmware upgrade, Wi-Fi\n"
    "                        settings, channel test and software update are not\n"
    "                        offered through it\n"
    "  --screenshots FOLDER  save pictures of the window once connected, then end\n"
    "  --update-server HOST[:PORT]  ask this server for newer versions (default port\n"
    "                        24502; also the key Server in the settings file Update)\n",
};

// Takes "--screenshots FOLDER" out of args.
QString takeScreenshotFolder(std::vector<std::string>& args) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--screenshots") {
            QString folder = QString::fromStdString(args[i + 1]);
            args.erase(args.begin() + static_cast<long>(i),
                       args.begin() + static_cast<long>(i) + 2);
            return folder;
        }
    }
    return {};
}

// What --daemon cannot be given with: the device is qx7d's (and the
// pictures take dialogs that need the device itself).
constexpr const char* kNotWithDaemon[] = {"--usb",
                                          "--serial",
                                          "--bluetooth",
                                          "--network",
                                          "--relay",
                                          "--device-id",
                                          "--simulated",
                                          "--simulated-stuck-usb",
                                          SoftwareUpdateStart::kOption,
                                          "--screenshots"};

// Takes "--daemon [URL|SOCKET]" out of args: nothing without it, else the
// target (empty for the default socket). Only a URL or a path is its value.
std::optional<std::string> takeDaemonTarget(std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--daemon") continue;
        size_t n = 1;
        std::string target;
        if (i + 1 < args.size() &&
            (args[i + 1].rfind("http://", 0) == 0 || args[i + 1].rfind('/', 0) == 0)) {
            target = args[i + 1];
            n = 2;
        }
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i + n));
        return target;
    }
    return std::nullopt;
}

// The option of args that --daemon excludes, if any.
std::optional<std::string> excludedByDaemon(const std::vector<std::string>& args) {
    for (const std::string& arg : args)
        for (const char* option : kNotWithDaemon)
            if (arg == option) return arg;
    return std::nullopt;
}

int usageError(const std::string& text) {
    std::fprintf(stderr, "qx7: %s\n", text.c_str());
    TransportChoice::printUsage(kProgram, stderr);
    return 2;
}

// The new program of an update starts with the same options and takes over
// the lock; it comes back when the new program did not start.
SoftwareUpdateStart::HandOver handOver(std::vector<std::string> arguments, InstanceLock* lock) {
    if (!lock) return {std::move(arguments), {}, {}};
    return {std::move(arguments), [lock] { lock->release(); }, [lock] { lock->retake(); }};
}

}  // namespace

int main(int argc, char** argv) {
    HeapPolicy::returnLargeBlocks();
    const bool confirmUpdate = SoftwareUpdateStart::atProgramStart(argv);
    // Our options first, so that --help and mistakes need no display.
    std::vector<std::string> args(argv + 1, argv + argc);
    const std::vector<std::string> ownArguments = args;
    const std::optional<std::string> daemonTarget = takeDaemonTarget(args);
    DaemonClient daemon;
    std::string error;
    if (daemonTarget) {
        if (auto excluded = excludedByDaemon(args))
            return usageError("--daemon excludes " + *excluded);
        if (!daemon.configure(*daemonTarget, error)) return usageError(error);
    }
    TransportChoice choice;
    if (auto exitCode = choice.parseFor(kProgram, args)) return *exitCode;
    QString screenshots = takeScreenshotFolder(args);
    std::string updateServer = SoftwareUpdateStart::takeOption(args);

    QApplication app(argc, argv);  // takes Qt's own options (-platform...) out of argv
    // Desktops match the window to its desktop entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qx7.qx7"));
    std::vector<std::string> rest(argv + 1, argv + argc);
    std::string ignored;
    takeDaemonTarget(rest);
    TransportChoice().parse(rest, ignored);
    takeScreenshotFolder(rest);
    SoftwareUpdateStart::takeOption(rest);
    if (auto exitCode = TransportChoice::rejectLeftover(kProgram, rest)) return *exitCode;
    AppStyle::install(app);
    QuitOnSignal quitOnSignal;

    QtLinkUi ui;
    std::unique_ptr<RemoteSession> remote;  // outlives the link, whose thread runs it
    Link link(ui, Clock::system());
    choice.setCanAskForDeviceId(true);
    choice.setUsbFallback(true);
    if (daemonTarget) {
        remote = std::make_unique<RemoteSession>(link, daemon);
        remote->install();
    } else if (!choice.install(link, error)) {
        std::fprintf(stderr, "qx7: %s\n", error.c_str());
        MessageBox::show(nullptr, {QString::fromStdString(error), QStringLiteral("QX7"),
                                   Language::index(), MessageBox::Buttons::Ok});
        return 1;
    }

    FirmwareUpgrade upgrade(link);  // before the supervisor starts, which calls into it
    MainWindow window(link, ui);
    window.setFirmwareUpgrade(&upgrade);
    window.setRemote(remote.get());
    if (!window.start()) return window.exitCode();
    window.show();
    // Told once the window runs its loop, so that an update that cannot show
    // its window is undone.
    if (confirmUpdate) QTimer::singleShot(0, [] { SoftwareUpdateStart::confirm(); });
    SoftwareUpdateStart update;
    // An update may bring firmware for the device, which is qx7d's.
    if (screenshots.isEmpty() && !remote)
        update.start(ui, updateServer, handOver(ownArguments, window.instanceLock()));
    std::unique_ptr<ScreenshotRun> pictures;
    if (!screenshots.isEmpty()) pictures = std::make_unique<ScreenshotRun>(window, ui, screenshots);
    int code = app.exec();
    // Releases an update question still open, so that the worker can end.
    ui.close();
    return code;
}
