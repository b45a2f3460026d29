#pragma once

#include <map>

class QObject;
class QTimer;

// Numbered timers of one window: each expiry delivers the timer message with
// the timer's number as wParam to the owner (a QObject that is a MessageTarget).
// Setting a number that runs already restarts it with the new interval.
class WindowTimer {
public:
    explicit WindowTimer(QObject* owner) : m_owner(owner) {}
    ~WindowTimer();
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    void set(int id, int intervalMs);
    // False when no timer of that number runs.
    bool kill(int id);
    bool running(int id) const;

private:
    QObject* m_owner;
    std::map<int, QTimer*> m_timers;
};
