#pragma once

#include <string>

// A named lock held for the life of the process, so that a second copy of the
// program can tell that one runs already. The kernel drops it when the holder
// ends, however it ends (a crash included): it is an advisory lock on a file
// in the user's runtime folder.
class InstanceLock {
public:
    enum class State {
        Acquired,        // this process holds the lock
        AlreadyRunning,  // another process holds it
        Unavailable      // the lock could not be made at all
    };

    explicit InstanceLock(const std::string& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return m_state; }
    // Hands the lock to a program this one starts, and takes it back when
    // that program did not start.
    void release();
    State retake();
    const std::string& path() const { return m_path; }

    // $XDG_RUNTIME_DIR when set, else the temporary folder (the file name then
    // carries the user id).
    static std::string folderFor(const std::string& name);
    // Tests use a folder of their own; an empty path restores the default.
    static void overrideFolder(const std::string& folder);

private:
    std::string m_path;
    int m_fd = -1;
    State m_state = State::Unavailable;
};
