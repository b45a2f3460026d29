#pragma once

#include <QKeyEvent>
#include <QWheelEvent>
#include <vector>

#include "platform/qt/message_target.h"
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

inline void hover(QWidget* w, QPointF at) { sendMouse(w, QEvent::MouseMove, at); }

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

// A parent window that keeps the numbered messages its controls send it.
class MessageRecorder : public QWidget, public MessageTarget {
public:
    struct Message {
        unsigned number;
        intptr_t wParam;
        intptr_t lParam;
        bool operator==(const Message&) const = default;
    };

    intptr_t onMessage(unsigned message, intptr_t wParam, intptr_t lParam) override {
        messages.push_back({message, wParam, lParam});
        return 0;
    }

    std::vector<Message> messages;
};
