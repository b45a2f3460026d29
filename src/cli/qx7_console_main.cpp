// The link on a terminal: finds the device, reads it and keeps it in step,
// printing what the window would show. Ends cleanly on Ctrl-C.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/console_ui.h"
#include "connect/transport_choice.h"
#include "link/link.h"
#include "link/link_supervisor.h"
#include "platform/clock.h"

namespace {

const TransportChoice::Program kProgram = {
    "qx7-console",
    "Usage: qx7-console [options]\n"
    "Connects to the audio processor and prints the link's progress.\n",
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    TransportChoice choice;
    if (auto exitCode = choice.parseFor(kProgram, args)) return *exitCode;
    if (auto exitCode = TransportChoice::rejectLeftover(kProgram, args)) return *exitCode;

    // Signals are taken by sigwait below, not by whichever thread they hit.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    ConsoleUi ui;
    Link link(ui, Clock::system());
    std::string error;
    if (!choice.install(link, error)) {
        std::fprintf(stderr, "qx7-console: %s\n", error.c_str());
        return 1;
    }
    if (!link.supervisor().start()) return 1;

    int received = 0;
    sigwait(&signals, &received);
    std::puts("Stopping...");
    link.supervisor().stop();
    link.supervisor().join();
    return 0;
}
