// qx7: the control program's window. Finds the device on USB unless told
// otherwise (--serial, --bluetooth, --simulated).
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>
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
#include "texts/language.h"

namespace {

const TransportChoice::Program kProgram = {
    "qx7",
    "Usage: qx7 [options]\n"
    "The control program of the QX7 audio processor.\n"
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
    TransportChoice choice;
    if (auto exitCode = choice.parseFor(kProgram, args)) return *exitCode;
    QString screenshots = takeScreenshotFolder(args);
    std::string updateServer = SoftwareUpdateStart::takeOption(args);

    QApplication app(argc, argv);  // takes Qt's own options (-platform...) out of argv
    // Desktops match the window to its desktop entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qx7.qx7"));
    std::vector<std::string> rest(argv + 1, argv + argc);
    std::string ignored;
    TransportChoice().parse(rest, ignored);
    takeScreenshotFolder(rest);
    SoftwareUpdateStart::takeOption(rest);
    if (auto exitCode = TransportChoice::rejectLeftover(kProgram, rest)) return *exitCode;
    AppStyle::install(app);
    QuitOnSignal quitOnSignal;

    QtLinkUi ui;
    Link link(ui, Clock::system());
    std::string error;
    choice.setCanAskForDeviceId(true);
    choice.setUsbFallback(true);
    if (!choice.install(link, error)) {
        std::fprintf(stderr, "qx7: %s\n", error.c_str());
        MessageBox::show(nullptr, {QString::fromStdString(error), QStringLiteral("QX7"),
                                   Language::index(), MessageBox::Buttons::Ok});
        return 1;
    }

    FirmwareUpgrade upgrade(link);  // before the supervisor starts, which calls into it
    MainWindow window(link, ui);
    window.setFirmwareUpgrade(&upgrade);
    if (!window.start()) return window.exitCode();
    window.show();
    // Told once the window runs its loop, so that an update that cannot show
    // its window is undone.
    if (confirmUpdate) QTimer::singleShot(0, [] { SoftwareUpdateStart::confirm(); });
    SoftwareUpdateStart update;
    if (screenshots.isEmpty())
        update.start(ui, updateServer, handOver(ownArguments, window.instanceLock()));
    std::unique_ptr<ScreenshotRun> pictures;
    if (!screenshots.isEmpty()) pictures = std::make_unique<ScreenshotRun>(window, ui, screenshots);
    int code = app.exec();
    // Releases an update question still open, so that the worker can end.
    ui.close();
    return code;
}
