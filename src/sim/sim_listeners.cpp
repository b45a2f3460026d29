#include "sim/sim_listeners.h"

int SimListeners::add(Listener listener) {
    std::lock_guard lock(m_mutex);
    m_listeners.emplace(++m_next, std::move(listener));
    return m_next;
}

void SimListeners::remove(int id) {
    std::lock_guard lock(m_mutex);
    m_listeners.erase(id);
}

void SimListeners::tell() {
    std::lock_guard lock(m_mutex);
    for (auto& [id, listener] : m_listeners) listener();
}
