#pragma once

#include <atomic>
#include <semaphore>

#include "platform/clock.h"

// The semaphore by which the frame parser wakes a waiting sender: initial
// count 0, maximum 1. A release while the count is already 1 is dropped, as a
// release beyond the maximum fails on a counted kernel semaphore.
class ReplySemaphore {
public:
    void release();
    // Waits up to ms on the given clock; true when a release was taken.
    bool acquire(const Clock& clock, uint32_t ms);
    bool tryAcquire();

private:
    std::binary_semaphore m_semaphore{0};
    std::atomic<bool> m_signalled{false};
};
