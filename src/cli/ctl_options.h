#pragma once

#include <string>
#include <vector>

// The command line of qx7ctl: where the device is, what to do, and the limits.
struct CtlOptions {
    enum class Link { Usb, Serial, Bluetooth, Simulated };

    Link link = Link::Usb;
    std::string linkPath;  // serial or Bluetooth serial device
    int timeoutSeconds = 30;
    bool quiet = false;
    bool help = false;
    std::string command;  // empty: none given
    std::vector<std::string> arguments;

    // Empty when the line was understood, else what is wrong with it.
    static std::string parse(int argc, const char* const* argv, CtlOptions& out);

    // The usage text of one command, or of the tool when the command is empty or unknown.
    static std::string usage(const std::string& command);
    static bool knownCommand(const std::string& command);
};
