#include "ctl_options.h"

#include <cstdlib>
#include <cstring>

namespace {

struct CommandHelp {
    const char* name;
    const char* synopsis;
    const char* description;
};

const CommandHelp kCommands[] = {
    {"info", "info",
     "Shows the device magic, firmware version, device ID, current preset and the\n"
     "sixteen preset names."},
    {"get", "get INDEX...", "Prints the value of each parameter INDEX (0 to 1745) as INDEX=VALUE."},
    {"set", "set INDEX=VALUE...",
     "Writes each VALUE (0 to 65535, decimal or 0x-hex) to parameter INDEX (1 to 1745)\n"
     "and returns once the device has confirmed every value by reading it back."},
    {"save", "save FILE",
     "Reads every parameter of the device and writes them to the preset file FILE\n"
     "(\".qmx\" is appended when the name does not contain it)."},
    {"load", "load FILE",
     "Sends the preset file FILE to the device (the device keeps its own state:\n"
     "current preset, passwords and the like) and checks what the device took.\n"
     "A bare name is also looked for in the program and user data folders."},
    {"recall", "recall N",
     "Recalls the device's stored preset N (1 to 16) and reads the device again."},
    {"name", "name N TEXT",
     "Stores TEXT (at most 20 bytes) as the name of the device's preset N (1 to 16)."},
    {"inspect", "inspect FILE",
     "Decodes the preset file FILE without a device: header fields, time stamp and\n"
     "values (INDEX=VALUE)."},
};

const char* const kToolHelp =
    "Usage: qx7ctl [OPTIONS] COMMAND [ARGUMENTS]\n"
    "Controls the QX7 audio processor from the command line.\n"
    "\n"
    "Commands:\n"
    "%COMMANDS%"
    "\n"
    "Options:\n"
    "  --serial PATH      the device on a serial line (e.g. /dev/ttyUSB0)\n"
    "  --bluetooth PATH   the device on a Bluetooth serial line\n"
    "  --simulated        the built-in simulated device\n"
    "                     (without one of these: the device on USB)\n"
    "  --timeout SECONDS  how long to wait for the device and for each step (default 30)\n"
    "  --quiet            no progress on standard error\n"
    "  --help             this text; COMMAND --help tells about one command\n"
    "\n"
    "Progress and messages go to standard error, results to standard output.\n"
    "Exit status: 0 success, 1 the device or the file failed, 2 wrong command line.\n";

const CommandHelp* find(const std::string& name) {
    for (const CommandHelp& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

bool parseCount(const char* text, int& out) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (!*text || *end || v < 1 || v > 3600) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

bool CtlOptions::knownCommand(const std::string& command) {
    return find(command) != nullptr;
}

std::string CtlOptions::usage(const std::string& command) {
    if (const CommandHelp* c = find(command))
        return std::string("Usage: qx7ctl [OPTIONS] ") + c->synopsis + "\n" + c->description +
               "\nSee qx7ctl --help for the options.\n";
    std::string commands;
    for (const CommandHelp& c : kCommands) commands += std::string("  ") + c.synopsis + "\n";
    std::string text = kToolHelp;
    text.replace(text.find("%COMMANDS%"), std::strlen("%COMMANDS%"), commands);
    return text;
}

std::string CtlOptions::parse(int argc, const char* const* argv, CtlOptions& out) {
    out = CtlOptions{};
    bool optionsEnded = false;
    int linkChoices = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue = arg == "--serial" || arg == "--bluetooth" || arg == "--timeout";
        if (!optionsEnded && takesValue && i + 1 >= argc) return arg + " needs a value";
        if (optionsEnded || arg.rfind("--", 0) != 0) {
            if (out.command.empty())
                out.command = arg;
            else
                out.arguments.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            out.help = true;
        } else if (arg == "--quiet") {
            out.quiet = true;
        } else if (arg == "--simulated") {
            out.link = Link::Simulated;
            ++linkChoices;
        } else if (arg == "--serial" || arg == "--bluetooth") {
            out.link = arg == "--serial" ? Link::Serial : Link::Bluetooth;
            out.linkPath = argv[++i];
            ++linkChoices;
        } else if (arg == "--timeout") {
            if (!parseCount(argv[++i], out.timeoutSeconds))
                return "--timeout takes a number of seconds from 1 to 3600";
        } else {
            return "unknown option " + arg;
        }
    }
    if (linkChoices > 1) return "choose one of --serial, --bluetooth and --simulated";
    if (!out.command.empty() && !knownCommand(out.command)) return "unknown command " + out.command;
    if (out.command.empty() && !out.help) return "no command given";
    return {};
}
