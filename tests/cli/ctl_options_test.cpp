#include <gtest/gtest.h>

#include <vector>

#include "cli/ctl_options.h"

namespace {

std::string parse(std::vector<const char*> args, CtlOptions& options) {
    args.insert(args.begin(), "qx7ctl");
    return CtlOptions::parse(static_cast<int>(args.size()), args.data(), options);
}

}  // namespace

TEST(CtlOptions, TransportChoiceDefaultsToUsb) {
    CtlOptions o;
    EXPECT_EQ(parse({"info"}, o), "");
    EXPECT_EQ(o.link, CtlOptions::Link::Usb);
    EXPECT_EQ(parse({"--serial", "/dev/ttyUSB0", "info"}, o), "");
    EXPECT_EQ(o.link, CtlOptions::Link::Serial);
    EXPECT_EQ(o.linkPath, "/dev/ttyUSB0");
    EXPECT_EQ(parse({"info", "--bluetooth", "/dev/rfcomm0"}, o), "")
        << "options may follow the command";
    EXPECT_EQ(o.link, CtlOptions::Link::Bluetooth);
    EXPECT_EQ(parse({"--simulated", "get", "1", "2"}, o), "");
    EXPECT_EQ(o.link, CtlOptions::Link::Simulated);
    EXPECT_EQ(o.command, "get");
    EXPECT_EQ(o.arguments, (std::vector<std::string>{"1", "2"}));
}

TEST(CtlOptions, WrongLinesAreExplained) {
    CtlOptions o;
    EXPECT_NE(parse({}, o), "");
    EXPECT_NE(parse({"frobnicate"}, o), "");
    EXPECT_NE(parse({"--serial"}, o), "") << "a missing path";
    EXPECT_NE(parse({"--serial", "/dev/a", "--simulated", "info"}, o), "") << "two transports";
    EXPECT_NE(parse({"--timeout", "0", "info"}, o), "");
    EXPECT_NE(parse({"--timeout", "ten", "info"}, o), "");
    EXPECT_NE(parse({"--colour", "info"}, o), "");
}

TEST(CtlOptions, HelpForTheToolAndEveryCommand) {
    CtlOptions o;
    EXPECT_EQ(parse({"--help"}, o), "");
    EXPECT_TRUE(o.help);
    for (const char* command :
         {"info", "get", "set", "save", "load", "recall", "name", "inspect"}) {
        EXPECT_EQ(parse({command, "--help"}, o), "") << command;
        EXPECT_TRUE(o.help);
        std::string usage = CtlOptions::usage(command);
        EXPECT_EQ(usage.rfind(std::string("Usage: qx7ctl [OPTIONS] ") + command, 0), 0u) << usage;
        EXPECT_NE(CtlOptions::usage("").find(command), std::string::npos) << command;
    }
}

TEST(CtlOptions, TextAfterDoubleDashIsAnArgument) {
    CtlOptions o;
    EXPECT_EQ(parse({"name", "3", "--", "--Party--"}, o), "");
    EXPECT_EQ(o.arguments, (std::vector<std::string>{"3", "--Party--"}));
}
