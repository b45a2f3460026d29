#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "sim/sim_device.h"

class Clock;

// The simulated device on a serial line: a pseudo-terminal whose other end
// the link opens like a serial port. Request bytes reach the device; its
// replies go back late and in pieces as its faults ask, and what it says
// unasked goes out at once. Stopping closes the
// terminal, so that the program sees the port vanish; starting again opens a
// new one (with a new path, which the optional symbolic link follows).
class SimPtyServer {
public:
    SimPtyServer(SimDevice& device, const Clock& clock);
    ~SimPtyServer();
    SimPtyServer(const SimPtyServer&) = delete;
    SimPtyServer& operator=(const SimPtyServer&) = delete;

    // Keeps linkPath pointing at the current terminal while serving, and
    // removes it on stop. Set before start.
    void setLinkPath(std::string linkPath) { m_linkPath = std::move(linkPath); }

    // Opens a new terminal and serves it on a thread; false with error() when it could not.
    bool start();
    void stop();
    bool serving() const { return m_thread.joinable() && !m_stop.stop_requested(); }
    // The terminal to open, e.g. "/dev/pts/3"; empty while stopped.
    std::string path() const;
    const std::string& error() const { return m_error; }

private:
    using TimePoint = std::chrono::steady_clock::time_point;

    bool openTerminal();
    void closeTerminal();
    void serve();
    void answer(const std::vector<SimDevice::Reply>& replies);
    void sayUnasked();
    // Waits until due; false when stop was asked for meanwhile.
    bool waitUntil(TimePoint due);
    bool writeAll(const uint8_t* data, size_t size);

    SimDevice& m_device;
    const Clock& m_clock;
    std::string m_linkPath;
    std::string m_error;
    int m_master = -1;
    int m_slave = -1;  // held so that the master does not see a hang-up between the program's opens
    int m_wake[2] = {-1, -1};
    int m_unaskedWake[2] = {-1, -1};  // the device has something to say unasked
    int m_unaskedListener = 0;
    mutable std::mutex m_pathMutex;
    std::string m_path;
    std::jthread m_thread;
    // Made anew by start while no thread serves; its stop ends the thread's waits.
    std::stop_source m_stop;
    TimePoint m_lastDue{};
};
