#pragma once

#include <QObject>

#include "binding/undo_history.h"

class Clock;
class Mirror;
class ParameterBinding;
class QAction;
class QPoint;
class QWidget;
struct TextTriple;

// Undo and redo in the window: the history on the binding's write path, the
// actions with their shortcuts (Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y), the groups
// that make one step of a press-to-release gesture or of everything one event
// wrote, and the clearing when the device's values changed under the history.
class QMenu;

class UndoControl : public QObject {
public:
    UndoControl(QWidget& window, ParameterBinding& binding, const Mirror& mirror);
    ~UndoControl() override;

    UndoHistory& history() { return m_history; }
    QAction& undoAction() { return *m_undo; }
    QAction& redoAction() { return *m_redo; }
    void undo();
    void redo();
    // Forgets every step and tells the user why; an empty history says nothing.
    void clear(const TextTriple& reason);
    // Connection state, read complete and replaced values.
    void linkEvent(int code, int argument);
    void languageRefresh();
    // Undo and redo as menu entries, enabled as the history allows, until menuClosed.
    void addTo(QMenu& menu);
    void menuClosed();
    // Times the runs of wheel notches and arrow keys; the system clock unless set.
    void setClock(const Clock& clock) { m_clock = &clock; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void noteInput(QObject* watched, QEvent* event);
    bool takesUndoKeys(QObject* watched, QEvent* event) const;

    QWidget& m_window;
    ParameterBinding& m_binding;
    const Mirror& m_mirror;
    UndoHistory m_history;
    QAction* m_undo;
    QAction* m_redo;
    const Clock* m_clock;
    bool m_pressed = false;
    bool m_connected = false;
    bool m_linkLost = false;
};
