#pragma once

#include <string>
#include <vector>

// The command line of qx7ctl apart from the transport options (TransportChoice
// takes those out first): what to do, and the limits.
struct CtlOptions {
    // Exit statuses of qx7ctl.
    static constexpr int kSuccess = 0;
    static constexpr int kFailure = 1;
    static constexpr int kUsage = 2;

    int timeoutSeconds = 30;
    bool quiet = false;
    bool help = false;
    bool json = false;
    int width = 1051;  // of the graph picture
    int height = 359;
    // eq fit: the texts as given, checked by the command.
    std::string target = "flat";
    std::string range;
    std::string smoothing;
    std::string maxBoost;
    bool write = false;
    bool offline = false;
    // --daemon [URL|SOCKET]: through a running qx7d instead of the device.
    bool daemon = false;
    std::string daemonTarget;  // empty: its default socket
    std::string command;       // empty: none given
    std::vector<std::string> arguments;

    // Empty when the line was understood, else what is wrong with it.
    static std::string parse(const std::vector<std::string>& args, CtlOptions& out);

    // The usage text of one command, or of the tool when the command is empty or unknown.
    static std::string usage(const std::string& command);
    static bool knownCommand(const std::string& command);

    // Says what went wrong on stderr and gives the exit status: a failure, or a
    // mistake on the command line followed by this command's usage.
    static int fail(const std::string& text);
    int usageError(const std::string& text) const;
};
