// qx7ctl: the audio processor from the command line, for installers who set
// up many rooms. One command per run; see --help.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/ctl_options.h"
#include "cli/ctl_package_dump.h"
#include "cli/ctl_remote.h"
#include "cli/ctl_session.h"
#include "connect/transport_choice.h"
#include "texts/language.h"

namespace {

int run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    TransportChoice choice;
    CtlOptions options;
    std::string problem;
    if (choice.parse(args, problem)) {
        // The transport options take --help out with them.
        if (choice.helpRequested()) args.push_back("--help");
        problem = CtlOptions::parse(args, options);
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "qx7ctl: %s\n%s", problem.c_str(),
                     CtlOptions::usage(options.command).c_str());
        return CtlSession::kUsage;
    }
    if (options.help) {
        std::fputs(CtlOptions::usage(options.command).c_str(), stdout);
        return CtlSession::kSuccess;
    }
    Language::set(Language::English);
    if (options.command == "inspect") {
        if (options.arguments.size() != 1) {
            std::fprintf(stderr, "qx7ctl: inspect needs one FILE\n%s",
                         CtlOptions::usage("inspect").c_str());
            return CtlSession::kUsage;
        }
        return inspectFile(options.arguments[0], stdout, options.json);
    }
    if (options.daemon) return CtlRemote(options).run();
    CtlSession session(options, choice);
    return session.run();
}

}  // namespace

// Whatever escapes a command (bytes no encoder takes, memory running out)
// becomes a message and a failure, never an abort.
int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qx7ctl: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "qx7ctl: an unexpected error ended the command\n");
    }
    return CtlSession::kFailure;
}
