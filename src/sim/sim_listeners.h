#pragma once

#include <functional>
#include <map>
#include <mutex>

// Callbacks told from any thread. Removing one returns only once no call of
// it is under way, so that its owner may go right after.
class SimListeners {
public:
    using Listener = std::function<void()>;

    int add(Listener listener);
    void remove(int id);
    void tell();

private:
    std::mutex m_mutex;
    std::map<int, Listener> m_listeners;
    int m_next = 0;
};
