// qx7d: owns the audio processor and serves it to the window, qx7ctl, phones
// and home automation over HTTP and WebSocket; see --help.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include <pthread.h>
#include <unistd.h>

#include "connect/transport_choice.h"
#include "daemon/access_token.h"
#include "daemon/daemon.h"
#include "daemon/daemon_options.h"
#include "daemon/pairing_code.h"
#include "texts/language.h"

namespace {

void printPairing(const DaemonOptions& options, const std::vector<unsigned>& ports,
                  const std::string& token) {
    for (size_t i = 0; i < ports.size(); ++i) {
        std::string url = PairingCode::url(options.listen[i].address, ports[i], token);
        std::printf("Pairing address: %s\n", url.c_str());
        if (i == 0 && !options.quiet && ::isatty(STDOUT_FILENO))
            std::fputs(PairingCode::render(url).c_str(), stdout);
    }
    if (!options.socketPath.empty() && !options.quiet)
        std::printf("Unix socket: %s\n", options.socketPath.c_str());
    std::fflush(stdout);
}

int run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    TransportChoice choice;
    DaemonOptions options;
    std::string problem;
    if (choice.parse(args, problem) && choice.helpRequested()) args.push_back("--help");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (problem.empty()) problem = DaemonOptions::parse(args, runtime ? runtime : "", options);
    if (options.help) {
        std::printf("%s%s", DaemonOptions::usage(), TransportChoice::helpText());
        return 0;
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "qx7d: %s\n%s", problem.c_str(), DaemonOptions::usage());
        return 2;
    }
    Language::set(Language::English);
    std::string token = AccessToken::loadOrCreate(options.tokenPath, options.newToken, problem);
    if (token.empty()) {
        std::fprintf(stderr, "qx7d: %s\n", problem.c_str());
        return 1;
    }
    if (options.newToken) {
        std::printf("New access token in %s (a running qx7d takes it at its next start)\n%s\n",
                    options.tokenPath.c_str(), token.c_str());
        return 0;
    }

    // The signals are taken by sigwait below, never by a thread started after this.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    HttpServer::Config config;
    config.tcp = options.noTcp ? std::vector<HttpServer::Listen>() : options.listen;
    config.unixPath = options.socketPath;
    config.token = token;
    Daemon daemon(choice, config);
    if (!daemon.start(problem)) {
        std::fprintf(stderr, "qx7d: %s\n", problem.c_str());
        return 1;
    }
    printPairing(options, daemon.server().ports(), token);
    int signal = 0;
    sigwait(&signals, &signal);
    daemon.stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qx7d: %s\n", e.what());
    }
    return 1;
}
