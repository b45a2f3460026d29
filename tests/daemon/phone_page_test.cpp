// The phone page in a real headless Chromium, driven by phone_page_check.py
// against qx7d on the simulated device in this process.
#include <gtest/gtest.h>

#include <cstdlib>

#include "binding/parameter_index.h"
#include "daemon_fixture.h"
#include "support/run_process.h"
#include "support/wait_for.h"

TEST(PhonePageTest, MovesTheDeviceAndFollowsTheApi) {
    DaemonFixture fixture;
    std::string url =
        "http://127.0.0.1:" + std::to_string(fixture.port()) + "/#token=" + DaemonFixture::kToken;
    const char* shots = std::getenv("QX7_PHONE_SCREENSHOTS");
    ProcessResult run = runProcess({"/usr/bin/python3", QX7_PHONE_CHECK, url, shots ? shots : ""});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    size_t at = run.out.find("music=");
    ASSERT_NE(at, std::string::npos) << run.out;
    int percent = std::atoi(run.out.c_str() + at + 6);
    EXPECT_TRUE(waitFor([&] {
        return fixture.device().value(parameterIndex::MusicVolume) == 500 + percent;
    })) << "the device holds "
        << fixture.device().value(parameterIndex::MusicVolume);
    EXPECT_EQ(fixture.device().value(parameterIndex::MicVolume), 533);
}
