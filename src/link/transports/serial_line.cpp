#include "link/transports/serial_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

// glibc's <termios.h> cannot set a rate that has no B-constant; the kernel's
// termios2 can (BOTHER). The two headers exclude each other.
#if defined(__linux__)
#include <asm/termbits.h>
#define QX7_TERMIOS2 1
#else
#include <termios.h>
#endif

namespace {

constexpr int kRead = 0;
constexpr int kWrite = 1;

#if QX7_TERMIOS2
using LineTermios = struct termios2;
bool getLine(int fd, LineTermios& t) {
    return ioctl(fd, TCGETS2, &t) == 0;
}
bool setLine(int fd, const LineTermios& t) {
    return ioctl(fd, TCSETS2, &t) == 0;
}
void setBaud(LineTermios& t, uint32_t baud) {
    t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = baud;
    t.c_ospeed = baud;
}
uint32_t inputBaud(const LineTermios& t) {
    return t.c_ispeed;
}
uint32_t outputBaud(const LineTermios& t) {
    return t.c_ospeed;
}
#else
using LineTermios = struct termios;
bool getLine(int fd, LineTermios& t) {
    return tcgetattr(fd, &t) == 0;
}
bool setLine(int fd, const LineTermios& t) {
    return tcsetattr(fd, TCSANOW, &t) == 0;
}
// Where speed_t is the rate itself (the BSDs, macOS).
void setBaud(LineTermios& t, uint32_t baud) {
    cfsetispeed(&t, static_cast<speed_t>(baud));
    cfsetospeed(&t, static_cast<speed_t>(baud));
}
uint32_t inputBaud(const LineTermios& t) {
    return static_cast<uint32_t>(cfgetispeed(&t));
}
uint32_t outputBaud(const LineTermios& t) {
    return static_cast<uint32_t>(cfgetospeed(&t));
}
#endif

bool goneError(int error) {
    return error == EIO || error == ENXIO || error == ENODEV || error == EBADF;
}

}  // namespace

SerialLine::~SerialLine() {
    close();
}

bool SerialLine::fail(const char* what) {
    m_error = std::string(what) + ": " + std::strerror(errno);
    close();
    return false;
}

bool SerialLine::open(const std::string& path) {
    close();
    m_error.clear();
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) return fail(path.c_str());
    if (ioctl(m_fd, TIOCEXCL) != 0) return fail("exclusive access");
    if (!configure()) return false;
    if (pipe(m_wake) != 0) return fail("wake pipe");
    for (int fd : m_wake) {
        fcntl(fd, F_SETFL, O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    purge();
    return true;
}

bool SerialLine::configure() {
    LineTermios t{};
    if (!getLine(m_fd, t)) return fail("line settings");
    t.c_iflag = 0;  // no XON/XOFF, no translation, breaks and parity errors read as data
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    // With O_NONBLOCK this makes an empty queue EAGAIN, so that 0 means hang-up.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    setBaud(t, kBaud);
    if (!setLine(m_fd, t)) return fail("line settings");
    return true;
}

void SerialLine::close() {
    if (m_fd >= 0) {
        // The flag belongs to the terminal, not to our descriptor: leave it free for the next
        // opener.
        ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);
        m_fd = -1;
    }
    for (int& fd : m_wake) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

SerialLine::Wait SerialLine::waitReadable(uint32_t timeoutMs) {
    if (m_fd < 0) return Wait::Gone;
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wake[kRead], POLLIN, 0}};
    int r = poll(fds, 2, static_cast<int>(timeoutMs));
    if (r < 0) return errno == EINTR ? Wait::Timeout : Wait::Gone;
    if (r == 0) return Wait::Timeout;
    if (fds[1].revents & POLLIN) {
        uint8_t drain[16];
        while (::read(m_wake[kRead], drain, sizeof drain) > 0) {
        }
        return Wait::Interrupted;
    }
    if (fds[0].revents & POLLIN) return Wait::Readable;  // a hang-up shows once the queue is empty
    return Wait::Gone;
}

void SerialLine::interrupt() {
    if (m_wake[kWrite] < 0) return;
    uint8_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(m_wake[kWrite], &one, 1);
}

long SerialLine::read(uint8_t* data, size_t size) {
    if (m_fd < 0) return kGone;
    ssize_t n = ::read(m_fd, data, size);
    if (n > 0) return static_cast<long>(n);
    if (n == 0) return kGone;
    if (errno == EAGAIN || errno == EINTR) return kNothing;
    if (goneError(errno)) return kGone;
    purge();
    return kLineError;
}

bool SerialLine::write(const uint8_t* data, size_t size, uint32_t timeoutMs) {
    if (m_fd < 0) return false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(m_fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd fd{m_fd, POLLOUT, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0 ||
            (fd.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return false;
    }
    return true;
}

void SerialLine::purge() {
    if (m_fd < 0) return;
#if QX7_TERMIOS2
    ioctl(m_fd, TCFLSH, TCIOFLUSH);
#else
    tcflush(m_fd, TCIOFLUSH);
#endif
}

SerialLine::Settings SerialLine::settings() const {
    Settings s;
    LineTermios t{};
    if (m_fd < 0 || !getLine(m_fd, t)) return s;
    s.inputBaud = inputBaud(t);
    s.outputBaud = outputBaud(t);
    switch (t.c_cflag & CSIZE) {
        case CS5:
            s.dataBits = 5;
            break;
        case CS6:
            s.dataBits = 6;
            break;
        case CS7:
            s.dataBits = 7;
            break;
        default:
            s.dataBits = 8;
            break;
    }
    s.parity = (t.c_cflag & PARENB) != 0;
    s.stopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
    s.hardwareFlow = (t.c_cflag & CRTSCTS) != 0;
    s.softwareFlow = (t.c_iflag & (IXON | IXOFF)) != 0;
    s.raw = (t.c_lflag & (ICANON | ECHO | ISIG)) == 0 && (t.c_oflag & OPOST) == 0;
#ifdef TIOCGEXCL
    int exclusive = 0;
    s.exclusive = ioctl(m_fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
#endif
    return s;
}
