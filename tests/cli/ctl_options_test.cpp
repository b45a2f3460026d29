#include <gtest/gtest.h>

#include <vector>

#include "cli/ctl_options.h"

namespace {

std::string parse(std::vector<std::string> args, CtlOptions& options) {
    return CtlOptions::parse(args, options);
}

}  // namespace

TEST(CtlOptions, CommandArgumentsAndLimits) {
    CtlOptions o;
    EXPECT_EQ(parse({"get", "1", "2", "--timeout", "5", "--quiet"}, o), "");
    EXPECT_EQ(o.command, "get");
    EXPECT_EQ(o.arguments, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(o.timeoutSeconds, 5);
    EXPECT_TRUE(o.quiet);
}

TEST(CtlOptions, WrongLinesAreExplained) {
    CtlOptions o;
    EXPECT_NE(parse({}, o), "");
    EXPECT_NE(parse({"frobnicate"}, o), "");
    EXPECT_NE(parse({"--timeout"}, o), "") << "a missing number";
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
