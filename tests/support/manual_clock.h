#pragma once

#include <atomic>
#include <cstdint>

#include "platform/clock.h"

// A clock whose ticks move only when a test says so; a sleep steps it at once.
// For code that reads ticks on one thread (the frame parser); waits on
// semaphores still take real time.
class ManualClock : public Clock {
public:
    explicit ManualClock(uint32_t start = 1000) : m_now(start) {}

    uint32_t ticks() const override { return m_now; }
    void sleep(uint32_t ms) const override { m_now += ms; }
    bool sleepUnlessStopped(uint32_t ms, std::stop_token stop) const override {
        m_now += ms;
        return !stop.stop_requested();
    }
    void advance(uint32_t ms) { m_now += ms; }

private:
    mutable std::atomic<uint32_t> m_now;
};
