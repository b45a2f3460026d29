// qx7: the control program's window. Finds the device on USB, or talks to the
// built-in simulated device with --simulated.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/app_style.h"
#include "app/cvx510q3_dlg.h"
#include "app/qt_link_ui.h"
#include "app/screenshot_run.h"
#include "link/link.h"
#include "link/transports/hid_transport.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_backend.h"

namespace {

void usage(std::FILE* out) {
    std::fputs(
        "Usage: qx7 [options]\n"
        "The control program of the QX7 audio processor.\n"
        "  --simulated   run against the built-in simulated device\n"
        "  --screenshots FOLDER\n"
        "                save pictures of the window once connected, then end\n"
        "  --help        this text\n",
        out);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    bool simulated = false;
    QString screenshots;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--simulated")) {
            simulated = true;
        } else if (!std::strcmp(argv[i], "--screenshots") && i + 1 < argc) {
            screenshots = QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(argv[i], "--help")) {
            usage(stdout);
            return 0;
        } else {
            std::fprintf(stderr, "qx7: unknown option %s\n", argv[i]);
            usage(stderr);
            return 2;
        }
    }
    AppStyle::install(app);

    QtLinkUi ui;
    const Clock& clock = Clock::system();
    std::unique_ptr<SimDevice> device;
    std::unique_ptr<HidBackend> backend;
    if (simulated) {
        device = std::make_unique<SimDevice>();
        backend = std::make_unique<SimHidBackend>(*device, clock);
    } else {
        MessageBox::show(
            nullptr,
            {QStringLiteral("USB HID is not available in this build; start with --simulated."),
             QStringLiteral("QX7"), 1033, MessageBox::Buttons::Ok});
        return 1;
    }
    Link link(ui, clock);
    link.setTransport(1, std::make_unique<HidTransport>(link, *backend));

    CVX510Q3Dlg window(link, ui);
    if (!window.OnInitDialog()) return window.exitCode();
    window.show();
    std::unique_ptr<ScreenshotRun> pictures;
    if (!screenshots.isEmpty()) pictures = std::make_unique<ScreenshotRun>(window, ui, screenshots);
    return app.exec();
}
