#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace {

std::mutex g_mutex;
std::string g_folder;

std::string lockPath(const std::string& name) {
    {
        std::lock_guard lock(g_mutex);
        if (!g_folder.empty()) return g_folder + "/" + name + ".lock";
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::string(runtime) + "/" + name + ".lock";
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp && *tmp ? tmp : "/tmp";
    return folder + "/" + name + "-" + std::to_string(getuid()) + ".lock";
}

}  // namespace

InstanceLock::InstanceLock(const std::string& name) : m_path(lockPath(name)) {
    retake();
}

InstanceLock::State InstanceLock::retake() {
    if (m_fd >= 0) return m_state;
    m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) return m_state = State::Unavailable;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) return m_state = State::Acquired;
    m_state = errno == EWOULDBLOCK ? State::AlreadyRunning : State::Unavailable;
    ::close(m_fd);
    m_fd = -1;
    return m_state;
}

void InstanceLock::release() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_state = State::Unavailable;
}

InstanceLock::~InstanceLock() {
    if (m_fd >= 0) ::close(m_fd);
}

std::string InstanceLock::folderFor(const std::string& name) {
    std::string path = lockPath(name);
    return path.substr(0, path.rfind('/'));
}

void InstanceLock::overrideFolder(const std::string& folder) {
    std::lock_guard lock(g_mutex);
    g_folder = folder;
}
