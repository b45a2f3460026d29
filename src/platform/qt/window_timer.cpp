#include "platform/qt/window_timer.h"

#include <QTimer>

#include "platform/qt/message_target.h"

WindowTimer::~WindowTimer() {
    for (auto& [id, timer] : m_timers) delete timer;
}

void WindowTimer::set(int id, int intervalMs) {
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer;
        timer->moveToThread(m_owner->thread());
        QObject* owner = m_owner;
        QObject::connect(timer, &QTimer::timeout, owner, [owner, id] {
            if (auto* target = dynamic_cast<MessageTarget*>(owner))
                target->onMessage(WindowMessage::Timer, id, 0);
        });
    }
    timer->start(intervalMs < 0 ? 0 : intervalMs);
}

bool WindowTimer::kill(int id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end()) return false;
    delete it->second;
    m_timers.erase(it);
    return true;
}

bool WindowTimer::running(int id) const {
    return m_timers.count(id) != 0;
}
