#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

class QObject;

// Runs functions on the thread of a context object and makes the calling
// thread wait for them. close() releases every caller that is still waiting
// and refuses later calls, so that a worker thread blocked on the window can
// never hold up the window's own shutdown.
class CrossThreadCaller {
public:
    explicit CrossThreadCaller(QObject* context) : m_context(context) {}
    ~CrossThreadCaller() { close(); }
    CrossThreadCaller(const CrossThreadCaller&) = delete;
    CrossThreadCaller& operator=(const CrossThreadCaller&) = delete;

    // The function's result; nothing when closed, or when the context died first.
    // Called on the context's own thread, fn runs at once.
    std::optional<intptr_t> call(std::function<intptr_t()> fn);
    void close();
    bool closed() const;
    // Callers whose function is queued and who wait for it.
    int waiting() const;

    struct Pending {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<intptr_t> result;
        void finish(std::optional<intptr_t> value);
        bool isFinished();
    };

private:
    QObject* m_context;
    mutable std::mutex m_mutex;
    bool m_closed = false;
    std::set<std::shared_ptr<Pending>> m_pending;
    int m_queued = 0;
};
