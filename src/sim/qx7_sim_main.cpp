// The simulated audio processor on a pseudo-terminal: prints the path of the
// terminal that a program opens as its serial port, and answers there until
// stopped. SIGUSR1 unplugs the device (the terminal closes), SIGUSR2 plugs
// it back in on a new terminal (its path is printed again).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_module_server.h"
#include "sim/sim_pty_server.h"
#include "sim/sim_relay_server.h"

namespace {

const char* const kUsage =
    "Usage: qx7-sim [options]\n"
    "Serves the simulated audio processor on a pseudo-terminal. The first line printed\n"
    "is the terminal to open, e.g. qx7-console --serial PATH.\n"
    "  --module PORT        be reached as the Wi-Fi module instead: text datagrams and\n"
    "                       frames on 127.0.0.1 PORT (UDP and TCP; 0 picks a free port)\n"
    "  --module-host N      as the module, serve on 127.0.0.N instead (1 to 254), so that\n"
    "                       several modules can answer one search\n"
    "  --relay-server PORT  be reached through a relay server instead, on 127.0.0.1 PORT\n"
    "                       and PORT+1 (0 picks free ports)\n"
    "  --plain-replies      as the module, answer with plain frames, not module packets\n"
    "  --link PATH          also make PATH a symbolic link to the terminal, kept across\n"
    "                       unplugging (the path to give when the device comes and goes)\n"
    "  --speed N            run the device's timing N times faster (default 1)\n"
    "  --reply-delay MS     answer every request this late\n"
    "  --chunk BYTES        send replies in pieces of this many bytes\n"
    "  --chunk-delay MS     pause between two pieces\n"
    "  --drop FRACTION      lose this fraction of the replies (0 to 1)\n"
    "  --corrupt FRACTION   damage each reply byte with this chance (0 to 1)\n"
    "  --silent             hear everything, answer nothing\n"
    "  --magic N            the device magic (22356; any other value is a wrong device)\n"
    "  --seed N             seed of the random faults\n"
    "  --device-id HEX      the device ID it reports (default BC614E): another ID on the\n"
    "                       same terminal is another device\n"
    "  --refuse-upgrades N  the loader refuses the first N upgrade starts\n"
    "  --wrong-block N      the loader answers upgrade block N once with another number\n"
    "  --silent-block N     the loader leaves upgrade block N unanswered once\n"
    "  --help               this text\n"
    "Every text for the Wi-Fi module is shown on standard error as it arrives.\n"
    "Signals: SIGUSR1 unplugs the device, SIGUSR2 plugs it back in,\n"
    "SIGINT or SIGTERM end the program.\n";

struct Options {
    std::string link;
    double speed = 1.0;
    uint64_t seed = 1;
    SimFaults faults;
    SimLoader::Faults loader;
    int modulePort = -1;
    int moduleHost = 1;
    int relayPort = -1;
    bool plain = false;
    uint32_t deviceId = 0x00BC614E;
};

bool hexNumber(const char* text, uint32_t& out) {
    char* end = nullptr;
    errno = 0;
    unsigned long v = std::strtoul(text, &end, 16);
    if (errno != 0 || end == text || *end != '\0' || v == 0 || v > 0xFFFFFFFFul) return false;
    out = static_cast<uint32_t>(v);
    return true;
}

bool number(const char* text, double low, double high, double& out) {
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !(v >= low && v <= high)) return false;
    out = v;
    return true;
}

// Returns 0 to go on, otherwise the exit status.
int parse(int argc, char** argv, Options& o) {
    using Setter = std::function<void(double)>;
    struct Numeric {
        double low, high;
        Setter set;
    };
    const std::map<std::string, Numeric> numeric = {
        {"--speed", {0.01, 1000, [&](double v) { o.speed = v; }}},
        {"--reply-delay",
         {0, 60000, [&](double v) { o.faults.replyDelayMs = static_cast<uint32_t>(v); }}},
        {"--chunk", {0, 65535, [&](double v) { o.faults.chunkSize = static_cast<uint32_t>(v); }}},
        {"--chunk-delay",
         {0, 60000, [&](double v) { o.faults.chunkDelayMs = static_cast<uint32_t>(v); }}},
        {"--drop", {0, 1, [&](double v) { o.faults.dropReplies = v; }}},
        {"--corrupt", {0, 1, [&](double v) { o.faults.corruptBytes = v; }}},
        {"--magic", {0, 65535, [&](double v) { o.faults.magic = static_cast<uint16_t>(v); }}},
        {"--module", {0, 65535, [&](double v) { o.modulePort = static_cast<int>(v); }}},
        {"--module-host", {1, 254, [&](double v) { o.moduleHost = static_cast<int>(v); }}},
        {"--relay-server", {0, 65535, [&](double v) { o.relayPort = static_cast<int>(v); }}},
        {"--seed", {0, 4294967295.0, [&](double v) { o.seed = static_cast<uint64_t>(v); }}},
        {"--refuse-upgrades",
         {0, 1000, [&](double v) { o.loader.refusedStarts = static_cast<int>(v); }}},
        {"--wrong-block",
         {0, 16777215,
          [&](double v) {
              o.loader.wrongNumberBlock = static_cast<int64_t>(v);
              o.loader.wrongNumberTimes = 1;
          }}},
        {"--silent-block",
         {0, 16777215,
          [&](double v) {
              o.loader.silentBlock = static_cast<int64_t>(v);
              o.loader.silentTimes = 1;
          }}},
    };
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return -1;
        }
        if (arg == "--silent") {
            o.faults.silent = true;
            continue;
        }
        if (arg == "--plain-replies") {
            o.plain = true;
            continue;
        }
        auto it = numeric.find(arg);
        bool textual = arg == "--link" || arg == "--device-id";
        if (!textual && it == numeric.end()) {
            std::fprintf(stderr, "qx7-sim: unknown option %s\n%s", arg.c_str(), kUsage);
            return 2;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "qx7-sim: %s needs a value\n", arg.c_str());
            return 2;
        }
        const char* value = argv[++i];
        if (arg == "--link") {
            o.link = value;
            continue;
        }
        if (arg == "--device-id") {
            if (hexNumber(value, o.deviceId)) continue;
            std::fprintf(
                stderr,
                "qx7-sim: --device-id wants a hexadecimal number from 1 to FFFFFFFF, not \"%s\"\n",
                value);
            return 2;
        }
        double v = 0;
        if (!number(value, it->second.low, it->second.high, v)) {
            std::fprintf(stderr, "qx7-sim: %s wants a number from %g to %g, not \"%s\"\n",
                         arg.c_str(), it->second.low, it->second.high, value);
            return 2;
        }
        it->second.set(v);
    }
    return 0;
}

bool plugIn(SimPtyServer& server) {
    if (!server.start()) {
        std::fprintf(stderr, "qx7-sim: %s\n", server.error().c_str());
        return false;
    }
    std::printf("%s\n", server.path().c_str());
    std::fflush(stdout);
    return true;
}

void waitForEnd(sigset_t& signals) {
    int received = 0;
    do {
        sigwait(&signals, &received);
    } while (received == SIGUSR1 || received == SIGUSR2);
}

// The device on loopback as a Wi-Fi module or behind a relay server; the
// first line printed is the command that reaches it.
int serveNetwork(const Options& options, SimDevice& device, const Clock& clock, sigset_t& signals) {
    char id[16];
    std::snprintf(id, sizeof id, "%X", device.deviceId());
    if (options.modulePort >= 0) {
        SimModuleServer module(device, clock);
        module.setPlainReplies(options.plain);
        uint32_t address = ipv4Of(127, 0, 0, static_cast<uint8_t>(options.moduleHost));
        if (!module.start(static_cast<uint16_t>(options.modulePort), address)) {
            std::fprintf(stderr, "qx7-sim: %s\n", module.error().c_str());
            return 1;
        }
        std::printf("qx7ctl --network %s:%u info\n", NetAddress::text(address).c_str(),
                    module.port());
        std::fflush(stdout);
        waitForEnd(signals);
        return 0;
    }
    SimRelayServer relay(device, clock);
    if (!relay.start(static_cast<uint16_t>(options.relayPort))) {
        std::fprintf(stderr, "qx7-sim: %s\n", relay.error().c_str());
        return 1;
    }
    std::printf("qx7ctl --relay 127.0.0.1:%u --device-id %s info\n", relay.controlPort(), id);
    std::fflush(stdout);
    waitForEnd(signals);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    int status = parse(argc, argv, options);
    if (status != 0) return status < 0 ? 0 : status;

    // Signals are taken by sigwait below, not by whichever thread they hit.
    sigset_t signals;
    sigemptyset(&signals);
    for (int s : {SIGINT, SIGTERM, SIGUSR1, SIGUSR2, SIGHUP}) sigaddset(&signals, s);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    Clock clock(options.speed);
    SimDevice device(options.seed);
    device.setFaults(options.faults);
    device.setDeviceId(options.deviceId);
    device.setLoaderFaults(options.loader);
    device.setModuleListener([](const std::string& text) {
        std::fprintf(stderr, "qx7-sim: module text: %s\n", text.c_str());
        std::fflush(stderr);
    });
    if (options.modulePort >= 0 || options.relayPort >= 0)
        return serveNetwork(options, device, clock, signals);
    SimPtyServer server(device, clock);
    server.setLinkPath(options.link);
    if (!plugIn(server)) return 1;

    while (true) {
        int received = 0;
        sigwait(&signals, &received);
        if (received == SIGUSR1) {
            server.stop();
            std::fputs("qx7-sim: unplugged\n", stderr);
        } else if (received == SIGUSR2) {
            if (!server.serving() && !plugIn(server)) return 1;
        } else {
            break;
        }
    }
    server.stop();
    return 0;
}
