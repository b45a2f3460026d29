#include "cli/ctl_options.h"

#include <cstdlib>
#include <cstring>

#include "connect/transport_choice.h"

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
     "values (INDEX=VALUE). For a firmware package file: its type and image size."},
    {"upgrade", "upgrade TARGET FILE",
     "Upgrades the firmware of TARGET (dsp1, panel, comm, dsp4, dsp5) with the package\n"
     "file FILE. The file is checked before the device hears of it; the exit status is\n"
     "0 only when the device confirmed the finished upgrade."},
    {"wifi", "wifi [hotspot SSID [PASSWORD] | router SSID [PASSWORD] | mode hotspot|router|internet]",
     "Without arguments shows the Wi-Fi module's mode, address, hotspot and router settings.\n"
     "hotspot and router set that SSID and password (a hotspot password is empty or has\n"
     "at least eight characters); mode switches the module. The exit status is 0 only\n"
     "when the module confirmed the change."},
};

const char* const kToolHelp =
    "Usage: qx7ctl [OPTIONS] COMMAND [ARGUMENTS]\n"
    "Controls the QX7 audio processor from the command line.\n"
    "\n"
    "Commands:\n"
    "%COMMANDS%"
    "\n"
    "Options:\n"
    "%TRANSPORTS%"
    "  --timeout SECONDS  how long to wait for the device and for each step (default 30)\n"
    "  --quiet            no progress on standard error\n"
    "COMMAND --help tells about one command. --serial without PATH goes after the\n"
    "command (qx7ctl info --serial), or it takes the command for the path.\n"
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
    text.replace(text.find("%TRANSPORTS%"), std::strlen("%TRANSPORTS%"),
                 TransportChoice::helpText());
    return text;
}

std::string CtlOptions::parse(const std::vector<std::string>& args, CtlOptions& out) {
    out = CtlOptions{};
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
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
        } else if (arg == "--timeout") {
            if (i + 1 >= args.size() || !parseCount(args[++i].c_str(), out.timeoutSeconds))
                return "--timeout takes a number of seconds from 1 to 3600";
        } else {
            return "unknown option " + arg;
        }
    }
    if (!out.command.empty() && !knownCommand(out.command)) return "unknown command " + out.command;
    if (out.command.empty() && !out.help) return "no command given";
    return {};
}
