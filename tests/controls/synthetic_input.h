#pragma once

#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>
#include <vector>

#include "support/mouse_events.h"

// Drags, wheel turns and keys delivered to a widget as the window system
// would, on top of the plain mouse events.
namespace SyntheticInput {

inline void press(QWidget* w, QPointF at, Qt::MouseButton button = Qt::LeftButton) {
    sendMouse(w, QEvent::MouseButtonPress, at, button);
}

// A move with the left button held, which reaches a widget without mouse tracking.
inline void move(QWidget* w, QPointF at) {
    QMouseEvent event(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

inline void hover(QWidget* w, QPointF at) {
    sendMouse(w, QEvent::MouseMove, at);
}

inline void release(QWidget* w, QPointF at, Qt::MouseButton button = Qt::LeftButton) {
    sendMouse(w, QEvent::MouseButtonRelease, at, button);
}

inline void click(QWidget* w, QPointF at, Qt::MouseButton button) {
    press(w, at, button);
    release(w, at, button);
}

inline void drag(QWidget* w, QPointF from, QPointF to) {
    press(w, from);
    move(w, (from + to) / 2);
    move(w, to);
    release(w, to);
}

inline void wheel(QWidget* w, QPointF at, int notches) {
    QWheelEvent event(at, w->mapToGlobal(at), QPoint(), QPoint(0, notches * 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

inline void key(QWidget* w, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}

}  // namespace SyntheticInput

// A parent window that keeps what the controls it listens to reported: the
// arguments of each signal, in order.
class SignalRecorder : public QWidget {
public:
    using Report = std::vector<int>;

    // Controls that lose the focus as the window goes still report.
    ~SignalRecorder() override {
        for (const auto& c : m_connections) QObject::disconnect(c);
    }

    template <typename Control, typename... Args>
    void listen(Control* control, void (Control::*signal)(Args...)) {
        m_connections.push_back(QObject::connect(control, signal, this, [this](Args... args) {
            reports.push_back({static_cast<int>(args)...});
        }));
    }

    std::vector<Report> reports;

private:
    std::vector<QMetaObject::Connection> m_connections;
};
