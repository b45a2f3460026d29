// qx7ctl --daemon against qx7d on the simulated device in this process.
#include <gtest/gtest.h>

#include "daemon_fixture.h"
#include "support/run_process.h"
#include "support/wait_for.h"

TEST(CtlThroughDaemonTest, CommandsReachTheDeviceThroughQx7d) {
    DaemonFixture fixture;
    const std::string socket = fixture.socket();
    const std::string url = "http://127.0.0.1:" + std::to_string(fixture.port()) + "/#token=";
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* printed;  // a part of standard output, or of standard error on failure
    };
    const Case cases[] = {
        {{"--daemon", socket, "set", "1602=560", "9=40"}, 0, "9=40\n1602=560\n"},
        {{"--daemon", socket, "get", "1602", "9"}, 0, "1602=560\n9=40\n"},
        {{"get", "1602", "--daemon", url + DaemonFixture::kToken}, 0, "1602=560"},
        {{"--daemon", url + "00", "get", "1602"}, 1, "bearer token"},
        {{"--daemon", socket, "set", "9=9999"}, 1, "takes 0 to 600"},
        {{"--daemon", socket, "info"}, 0, "Connection: connected"},
        {{"--daemon", fixture.socket() + ".none", "info"}, 1, "cannot reach qx7d"},
        {{"--daemon", socket, "wifi"}, 2, "does not go through qx7d"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> argv{QX7CTL_PATH};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        ProcessResult run = runProcess(argv);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.back() << run.err;
        const std::string& text = c.exitCode == 0 ? run.out : run.err;
        EXPECT_NE(text.find(c.printed), std::string::npos) << c.args.back() << ": " << text;
    }
    EXPECT_TRUE(waitFor([&] { return fixture.device().value(1602) == 560; }));
    ProcessResult recall = runProcess({QX7CTL_PATH, "--daemon", socket, "recall", "3"});
    EXPECT_EQ(recall.out, "Preset 3 recalled\n");
    EXPECT_EQ(fixture.device().value(1628), 3);
}
