#include "sim/sim_pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/clock.h"

namespace {

constexpr size_t kReadChunk = 4096;
// Nobody reads the line for this long: the rest of the reply is lost, as on a cable.
constexpr int kWriteGiveUpMs = 1000;

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

SimPtyServer::SimPtyServer(SimDevice& device, const Clock& clock)
    : m_device(device), m_clock(clock) {}

SimPtyServer::~SimPtyServer() {
    stop();
}

std::string SimPtyServer::path() const {
    std::lock_guard lock(m_pathMutex);
    return m_path;
}

bool SimPtyServer::start() {
    if (serving()) return true;
    if (!openTerminal()) {
        closeTerminal();
        return false;
    }
    m_stop = std::stop_source();
    m_thread = std::jthread([this] { serve(); });
    m_unaskedListener = m_device.unaskedListeners()->add([this] {
        uint8_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(m_unaskedWake[1], &one, 1);
    });
    return true;
}

void SimPtyServer::stop() {
    if (!m_thread.joinable()) return;
    m_device.unaskedListeners()->remove(m_unaskedListener);
    m_stop.request_stop();
    uint8_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(m_wake[1], &one, 1);
    m_thread.join();
    closeTerminal();
}

bool SimPtyServer::openTerminal() {
    m_error.clear();
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        m_error = std::string("pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    fcntl(m_master, F_SETFL, O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    char name[128];
    if (ptsname_r(m_master, name, sizeof name) != 0) {
        m_error = std::string("pseudo-terminal name: ") + std::strerror(errno);
        return false;
    }
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        m_error = std::string(name) + ": " + std::strerror(errno);
        return false;
    }
    // Raw from the start: an echoing line would bounce requests back as replies.
    termios t{};
    tcgetattr(m_slave, &t);
    cfmakeraw(&t);
    tcsetattr(m_slave, TCSANOW, &t);
    if (pipe(m_wake) != 0) {
        m_error = std::string("wake pipe: ") + std::strerror(errno);
        return false;
    }
    fcntl(m_wake[0], F_SETFL, O_NONBLOCK);
    if (pipe(m_unaskedWake) != 0) {
        m_error = std::string("wake pipe: ") + std::strerror(errno);
        return false;
    }
    for (int fd : m_unaskedWake) fcntl(fd, F_SETFL, O_NONBLOCK);
    if (!m_linkPath.empty()) {
        std::string temporary = m_linkPath + ".new";
        ::unlink(temporary.c_str());
        if (symlink(name, temporary.c_str()) != 0 ||
            rename(temporary.c_str(), m_linkPath.c_str()) != 0) {
            m_error = m_linkPath + ": " + std::strerror(errno);
            return false;
        }
    }
    std::lock_guard lock(m_pathMutex);
    m_path = name;
    return true;
}

void SimPtyServer::closeTerminal() {
    if (!m_linkPath.empty() && !path().empty()) ::unlink(m_linkPath.c_str());
    closeFd(m_master);
    closeFd(m_slave);
    closeFd(m_wake[0]);
    closeFd(m_wake[1]);
    closeFd(m_unaskedWake[0]);
    closeFd(m_unaskedWake[1]);
    std::lock_guard lock(m_pathMutex);
    m_path.clear();
}

void SimPtyServer::serve() {
    std::array<uint8_t, kReadChunk> buffer;
    m_lastDue = std::chrono::steady_clock::now();
    while (!m_stop.stop_requested()) {
        pollfd fds[3] = {
            {m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}, {m_unaskedWake[0], POLLIN, 0}};
        if (poll(fds, 3, -1) < 0 && errno != EINTR) break;
        if (fds[1].revents & POLLIN) break;
        if (fds[2].revents & POLLIN) sayUnasked();
        if (fds[0].revents & (POLLERR | POLLNVAL)) break;
        if (!(fds[0].revents & POLLIN)) {
            m_clock.sleep(0);
            continue;
        }
        ssize_t n = ::read(m_master, buffer.data(), buffer.size());
        if (n <= 0) continue;
        answer(m_device.receive(buffer.data(), static_cast<size_t>(n)));
    }
}

void SimPtyServer::sayUnasked() {
    uint8_t drained[64];
    while (::read(m_unaskedWake[0], drained, sizeof drained) > 0) {
    }
    answer(m_device.takeUnasked());
}

void SimPtyServer::answer(const std::vector<SimDevice::Reply>& replies) {
    SimFaults faults = m_device.faults();
    TimePoint due = std::max(m_lastDue, std::chrono::steady_clock::now());
    for (const SimDevice::Reply& reply : replies) {
        due += m_clock.realDuration(reply.delayMs);
        size_t piece = faults.chunkSize > 0 ? faults.chunkSize : reply.bytes.size();
        for (size_t at = 0; at < reply.bytes.size(); at += piece) {
            if (at > 0) due += m_clock.realDuration(faults.chunkDelayMs);
            if (!waitUntil(due)) return;
            if (!writeAll(reply.bytes.data() + at, std::min(piece, reply.bytes.size() - at)))
                return;
        }
    }
    m_lastDue = due;
}

bool SimPtyServer::waitUntil(TimePoint due) {
    while (!m_stop.stop_requested()) {
        auto left = due - std::chrono::steady_clock::now();
        if (left <= std::chrono::nanoseconds::zero()) return true;
        auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timespec wait{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        pollfd wake{m_wake[0], POLLIN, 0};
        if (ppoll(&wake, 1, &wait, nullptr) > 0) return false;
    }
    return false;
}

bool SimPtyServer::writeAll(const uint8_t* data, size_t size) {
    size_t done = 0;
    while (done < size && !m_stop.stop_requested()) {
        ssize_t n = ::write(m_master, data + done, size - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        pollfd fds[2] = {{m_master, POLLOUT, 0}, {m_wake[0], POLLIN, 0}};
        if (poll(fds, 2, kWriteGiveUpMs) <= 0 || (fds[1].revents & POLLIN)) return false;
    }
    return done == size;
}
