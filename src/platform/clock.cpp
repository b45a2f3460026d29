#include "platform/clock.h"

#include <condition_variable>
#include <mutex>
#include <thread>

Clock::Clock(double speed)
    : m_speed(speed > 0 ? speed : 1.0), m_start(std::chrono::steady_clock::now()) {}

uint32_t Clock::ticks() const {
    auto elapsed = std::chrono::steady_clock::now() - m_start;
    double ms = std::chrono::duration<double, std::milli>(elapsed).count() * m_speed;
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

void Clock::sleep(uint32_t ms) const {
    m_slept.fetch_add(ms, std::memory_order_relaxed);
    if (ms == 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(realDuration(ms));
}

bool Clock::sleepUnlessStopped(uint32_t ms, std::stop_token stop) const {
    m_slept.fetch_add(ms, std::memory_order_relaxed);
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, realDuration(ms), [] { return false; });
    return !stop.stop_requested();
}

std::chrono::nanoseconds Clock::realDuration(uint32_t ms) const {
    return std::chrono::nanoseconds(static_cast<int64_t>(ms * 1e6 / m_speed));
}

Clock& Clock::system() {
    static Clock clock;
    return clock;
}
