#include "cli/ctl_options.h"

#include <cstdio>
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
    {"eq", "eq export|import|fit PAGE FILE",
     "export writes the equaliser bands of PAGE to FILE as filter text (\"Filter 1: ON PK\n"
     "Fc 1000 Hz Gain -3.5 dB Q 4.5\"), the format room-measurement programs read and write.\n"
     "import reads such a file whole, moves each filter onto what a band can hold (frequency\n"
     "grid, Q table, gain range) and reports every move and every filter left out by line,\n"
     "then writes the bands to the device; the page's other bands are set to 0 dB.\n"
     "fit reads the measurement FILE (frequency and level columns as measurement programs\n"
     "export them) and fits the page's bands to it on the device's frequency grid, Q table\n"
     "and gain steps, with the page's crossovers as they are; it prints the bands, the RMS\n"
     "and largest deviation from the target before and after, and the time taken, and\n"
     "writes the bands to the device only with --write. Options of fit:\n"
     "  --target flat|house|house:B:T|FILE  flat (default), a house curve rising B dB\n"
     "                     (4) to 20 Hz and falling T dB per octave (1) above 1 kHz, or a file\n"
     "  --range LO-HI      the range fitted in Hz (default 20-10000)\n"
     "  --smoothing N      1/N octave power smoothing: 3, 6, 12 (default), 24 or none\n"
     "  --max-boost DB     the largest boost of a band and of their sum (default 6; 0 cuts only)\n"
     "  --write            write the fitted bands to the device\n"
     "  --offline          fit without a device, as if the page's crossovers were off\n"
     "PAGE: 0 to 8 or main, center, sub, backround, surround, music, mic, echo, reverb."},
    {"diff", "diff A B",
     "Compares two presets, each a preset file or the word device, and prints every\n"
     "parameter that differs by page and field with both values. Exit status 0 when they\n"
     "are equal, 1 when they differ, 2 when a file cannot be read."},
    {"graph", "graph PAGE FILE.png",
     "Draws the summed response of PAGE on the device as the window's graph draws it and\n"
     "writes it to FILE.png, at the size --size WxH gives (default 1051x359). No display\n"
     "is needed."},
    {"list", "list",
     "Prints the processors on USB (usb PATH SERIAL) and the serial ports a processor may\n"
     "be on (serial PATH), one per line. With --usb only that processor."},
    {"upgrade", "upgrade TARGET FILE",
     "Upgrades the firmware of TARGET (dsp1, panel, comm, dsp4, dsp5) with the package\n"
     "file FILE. The file is checked before the device hears of it; the exit status is\n"
     "0 only when the device confirmed the finished upgrade. The package format has no\n"
     "checksum: compare the image size and SHA-256 it prints with the maker's."},
    {"wifi",
     "wifi [hotspot SSID [PASSWORD] | router SSID [PASSWORD] | mode hotspot|router|internet]",
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
    "  --json             info, get, inspect, diff, eq export, eq fit and list print one JSON\n"
    "                     document (its shape is in the manual page)\n"
    "  --size WxH         the picture size of graph in pixels (default 1051x359)\n"
    "  --target, --range, --smoothing, --max-boost, --write, --offline  of eq fit\n"
    "  --daemon [URL|SOCKET]  through a running qx7d (info, get, set, save, load,\n"
    "                     recall): its socket by default, or http://HOST:PORT/#token=T\n"
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

bool parseSize(const std::string& text, int& width, int& height) {
    size_t x = text.find('x');
    if (x == std::string::npos) return false;
    char* end = nullptr;
    long w = std::strtol(text.c_str(), &end, 10);
    if (end != text.c_str() + x) return false;
    long h = std::strtol(text.c_str() + x + 1, &end, 10);
    if (*end || x + 1 == text.size() || w < 1 || h < 1 || w > 8192 || h > 8192) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

// The eq fit options that take a value, checked where they are used.
std::string* fitValue(const std::string& arg, CtlOptions& out) {
    if (arg == "--target") return &out.target;
    if (arg == "--range") return &out.range;
    if (arg == "--smoothing") return &out.smoothing;
    if (arg == "--max-boost") return &out.maxBoost;
    return nullptr;
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
        } else if (arg == "--json") {
            out.json = true;
        } else if (arg == "--write") {
            out.write = true;
        } else if (arg == "--offline") {
            out.offline = true;
        } else if (arg == "--daemon") {
            out.daemon = true;
            // The target is optional: only a URL or a path is taken for it.
            if (i + 1 < args.size() &&
                (args[i + 1].rfind("http://", 0) == 0 || args[i + 1].rfind('/', 0) == 0))
                out.daemonTarget = args[++i];
        } else if (std::string* text = fitValue(arg, out)) {
            if (i + 1 >= args.size()) return arg + " needs a value";
            *text = args[++i];
        } else if (arg == "--size") {
            if (i + 1 >= args.size() || !parseSize(args[++i], out.width, out.height))
                return "--size takes WIDTHxHEIGHT in pixels, each 1 to 8192, e.g. 1051x359";
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

int CtlOptions::fail(const std::string& text) {
    std::fprintf(stderr, "qx7ctl: %s\n", text.c_str());
    return kFailure;
}

int CtlOptions::usageError(const std::string& text) const {
    std::fprintf(stderr, "qx7ctl: %s\n%s", text.c_str(), usage(command).c_str());
    return kUsage;
}
