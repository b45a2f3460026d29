#include "link/reply_semaphore.h"

void ReplySemaphore::release() {
    if (!m_signalled.exchange(true, std::memory_order_acq_rel)) m_semaphore.release();
}

bool ReplySemaphore::acquire(const Clock& clock, uint32_t ms) {
    if (!m_semaphore.try_acquire_for(clock.realDuration(ms))) return false;
    m_signalled.store(false, std::memory_order_release);
    return true;
}

bool ReplySemaphore::tryAcquire() {
    if (!m_semaphore.try_acquire()) return false;
    m_signalled.store(false, std::memory_order_release);
    return true;
}
