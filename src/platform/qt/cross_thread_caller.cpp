#include "platform/qt/cross_thread_caller.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

void CrossThreadCaller::Pending::finish(std::optional<intptr_t> value) {
    {
        std::lock_guard lock(mutex);
        if (finished) return;
        finished = true;
        result = value;
    }
    done.notify_all();
}

bool CrossThreadCaller::Pending::isFinished() {
    std::lock_guard lock(mutex);
    return finished;
}

namespace {

// Finishes a waiting call when the queued function is dropped without running
// (its context destroyed first).
struct Guard {
    explicit Guard(std::shared_ptr<CrossThreadCaller::Pending> p) : pending(std::move(p)) {}
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
    ~Guard() { pending->finish(std::nullopt); }
    std::shared_ptr<CrossThreadCaller::Pending> pending;
};

}  // namespace

std::optional<intptr_t> CrossThreadCaller::call(std::function<intptr_t()> fn) {
    if (closed() || !m_context) return std::nullopt;
    if (QThread::currentThread() == m_context->thread()) return fn();

    auto pending = std::make_shared<Pending>();
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return std::nullopt;
        m_pending.insert(pending);
    }
    auto guard = std::make_shared<Guard>(pending);
    QMetaObject::invokeMethod(
        m_context,
        [guard, fn = std::move(fn)] {
            // A caller released by close() no longer waits for the result.
            if (!guard->pending->isFinished()) guard->pending->finish(fn());
        },
        Qt::QueuedConnection);
    guard.reset();
    {
        std::lock_guard lock(m_mutex);
        ++m_queued;
    }
    {
        std::unique_lock lock(pending->mutex);
        pending->done.wait(lock, [&] { return pending->finished; });
    }
    std::lock_guard lock(m_mutex);
    --m_queued;
    m_pending.erase(pending);
    return pending->result;
}

void CrossThreadCaller::close() {
    std::set<std::shared_ptr<Pending>> waiting;
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        waiting.swap(m_pending);
    }
    for (auto& p : waiting) p->finish(std::nullopt);
}

bool CrossThreadCaller::closed() const {
    std::lock_guard lock(m_mutex);
    return m_closed;
}

int CrossThreadCaller::waiting() const {
    std::lock_guard lock(m_mutex);
    return m_queued;
}
