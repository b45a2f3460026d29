#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Mouse events delivered straight to a widget, as the window system would.
inline void sendMouse(QWidget* widget, QEvent::Type type, QPointF pos,
                      Qt::MouseButton button = Qt::LeftButton) {
    Qt::MouseButtons buttons =
        type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick
            ? Qt::MouseButtons(button)
            : Qt::MouseButtons();
    if (type == QEvent::MouseMove) button = Qt::NoButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void click(QWidget* widget, QPointF pos) {
    sendMouse(widget, QEvent::MouseButtonPress, pos);
    sendMouse(widget, QEvent::MouseButtonRelease, pos);
}
