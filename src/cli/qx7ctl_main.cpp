// qx7ctl: the audio processor from the command line, for installers who set
// up many rooms. One command per run; see --help.
#include <cstdio>

#include "ctl_inspect.h"
#include "ctl_options.h"
#include "ctl_session.h"
#include "link/language.h"

int main(int argc, char** argv) {
    CtlOptions options;
    std::string problem = CtlOptions::parse(argc, argv, options);
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
        return inspectPresetFile(options.arguments[0], stdout);
    }
    CtlSession session(options);
    return session.run();
}
