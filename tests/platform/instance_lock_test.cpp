#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/wait_for.h"

namespace {

// A child process that takes the lock, reports through a pipe and then waits
// to be killed.
class LockHolder {
public:
    explicit LockHolder(const std::string& name) {
        int fds[2];
        if (pipe(fds) != 0) std::abort();
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            InstanceLock lock(name);
            char state = static_cast<char>(lock.state());
            if (write(fds[1], &state, 1) != 1) _exit(3);
            for (;;) pause();
        }
        close(fds[1]);
        char state = -1;
        if (read(fds[0], &state, 1) == 1) m_state = static_cast<InstanceLock::State>(state);
        close(fds[0]);
    }
    ~LockHolder() { kill(); }

    InstanceLock::State state() const { return m_state; }
    // Ends the child the hard way, as a crash would.
    void kill() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    InstanceLock::State m_state = InstanceLock::State::Unavailable;
};

class InstanceLockTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder =
            std::filesystem::temp_directory_path() / ("qx7-lock-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_folder);
        InstanceLock::overrideFolder(m_folder.string());
    }
    void TearDown() override {
        InstanceLock::overrideFolder("");
        std::filesystem::remove_all(m_folder);
    }
    std::filesystem::path m_folder;
};

TEST_F(InstanceLockTest, ASecondProcessSeesTheFirstUntilItDiesEvenByACrash) {
    LockHolder first("VX510_PC_xxxx");
    ASSERT_EQ(first.state(), InstanceLock::State::Acquired);
    {
        InstanceLock second("VX510_PC_xxxx");
        EXPECT_EQ(second.state(), InstanceLock::State::AlreadyRunning);
    }
    first.kill();
    InstanceLock third("VX510_PC_xxxx");
    EXPECT_EQ(third.state(), InstanceLock::State::Acquired);
    EXPECT_EQ(third.path(), (m_folder / "VX510_PC_xxxx.lock").string());
    // And now a child is the second one.
    LockHolder fourth("VX510_PC_xxxx");
    EXPECT_EQ(fourth.state(), InstanceLock::State::AlreadyRunning);
}

TEST_F(InstanceLockTest, OtherNamesDoNotCollide) {
    InstanceLock one("VX510_PC_xxxx");
    LockHolder other("another_program");
    EXPECT_EQ(one.state(), InstanceLock::State::Acquired);
    EXPECT_EQ(other.state(), InstanceLock::State::Acquired);
}

TEST_F(InstanceLockTest, AFolderThatCannotHoldTheLockLetsTheProgramStart) {
    InstanceLock::overrideFolder((m_folder / "missing" / "deeper").string());
    InstanceLock lock("VX510_PC_xxxx");
    EXPECT_EQ(lock.state(), InstanceLock::State::Unavailable);
}

TEST(InstanceLockFolder, UsesTheRuntimeFolderWhenThereIsOne) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = runtime ? runtime : "";
    setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
    EXPECT_EQ(InstanceLock::folderFor("VX510_PC_xxxx"), "/run/user/4242");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_FALSE(InstanceLock::folderFor("VX510_PC_xxxx").empty());
    if (!saved.empty()) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

}  // namespace
