#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <stop_token>

// Millisecond tick count and sleeps for the link and the simulated device.
// A speed above 1 runs everything that goes through the clock faster than real
// time while keeping every interval in the same proportion, so that tests can
// exercise the link's real timing rules quickly. Tests of single-threaded
// pieces may override ticks and sleep to step time by hand.
class Clock {
public:
    explicit Clock(double speed = 1.0);
    virtual ~Clock() = default;

    // Milliseconds since the clock was made; wraps like a 32-bit tick count.
    virtual uint32_t ticks() const;
    virtual void sleep(uint32_t ms) const;
    // The same sleep, ended at once by a stop; false when it was.
    virtual bool sleepUnlessStopped(uint32_t ms, std::stop_token stop) const;
    std::chrono::nanoseconds realDuration(uint32_t ms) const;
    double speed() const { return m_speed; }
    // The sum of all sleeps asked of this clock, in its own milliseconds.
    uint64_t sleptMs() const { return m_slept.load(std::memory_order_relaxed); }

    // The clock of the running program (real time).
    static Clock& system();

private:
    double m_speed;
    std::chrono::steady_clock::time_point m_start;
    mutable std::atomic<uint64_t> m_slept{0};
};

// Milliseconds from `then` to `now` on a wrapping tick count.
inline uint32_t ticksSince(uint32_t now, uint32_t then) {
    return now - then;
}
