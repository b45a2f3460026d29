// Ctrl-C in the terminal that started the program ends it the orderly way:
// the link is stopped and joined, and the process exits normally with 0.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/wait_for.h"

namespace {

// Whether the process has installed a handler for the signal (its SigCgt mask).
bool catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) != 0) continue;
        unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
        return (mask >> (signal - 1)) & 1;
    }
    return false;
}

pid_t startProgram(const std::filesystem::path& root, const char* transport) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
    setenv("XDG_CONFIG_HOME", root.c_str(), 1);
    execl(QX7_PROGRAM, QX7_PROGRAM, transport, static_cast<char*>(nullptr));
    _exit(127);
}

// Also with a device that takes a USB write and never completes it: the
// program still ends, within the link's shutdown limit.
TEST(Program, InterruptEndsItCleanly) {
    for (const char* transport : {"--simulated", "--simulated-stuck-usb"}) {
        auto root =
            std::filesystem::temp_directory_path() / ("qx7-signal-" + std::to_string(getpid()));
        std::filesystem::create_directories(root);
        pid_t pid = startProgram(root, transport);
        ASSERT_GT(pid, 0);
        ASSERT_TRUE(waitFor([&] { return catches(pid, SIGINT); }));

        auto start = std::chrono::steady_clock::now();
        kill(pid, SIGINT);
        int status = 0;
        ASSERT_TRUE(waitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }));
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        std::printf("qx7 %s ended %.0f ms after the interrupt\n", transport, took.count());
        EXPECT_TRUE(WIFEXITED(status))
            << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
        EXPECT_EQ(WEXITSTATUS(status), 0) << transport;
        std::filesystem::remove_all(root);
    }
}

}  // namespace
