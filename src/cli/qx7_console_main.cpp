// The link on a terminal: finds the device, reads it and keeps it in step,
// printing what the window would show. Ends cleanly on Ctrl-C.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "console_ui.h"
#include "link/link.h"
#include "link/link_supervisor.h"
#include "link/transports/hid_transport.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_backend.h"

namespace {

void usage() {
    std::puts(
        "Usage: qx7-console [--simulated]\n"
        "Connects to the audio processor and prints the link's progress.\n"
        "  --simulated   run against the built-in simulated device\n"
        "  --help        this text");
}

}  // namespace

int main(int argc, char** argv) {
    bool simulated = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--simulated")) {
            simulated = true;
        } else if (!std::strcmp(argv[i], "--help")) {
            usage();
            return 0;
        } else {
            std::fprintf(stderr, "qx7-console: unknown option %s\n", argv[i]);
            usage();
            return 2;
        }
    }
    if (!simulated) {
        std::fprintf(stderr, "qx7-console: USB HID is not available in this build; use --simulated\n");
        return 2;
    }

    // Signals are taken by sigwait below, not by whichever thread they hit.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    ConsoleUi ui;
    const Clock& clock = Clock::system();
    SimDevice device;
    SimHidBackend backend(device, clock);
    Link link(ui, clock);
    link.setTransport(1, std::make_unique<HidTransport>(link, backend));
    if (!link.supervisor().start()) return 1;

    int received = 0;
    sigwait(&signals, &received);
    std::puts("Stopping...");
    link.supervisor().stop();
    link.supervisor().join();
    return 0;
}
