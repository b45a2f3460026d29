#include "app/undo_control.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMetaObject>
#include <QMouseEvent>
#include <QWidget>

#include "binding/parameter_binding.h"
#include "link/link_event.h"
#include "link/mirror.h"
#include "platform/clock.h"
#include "platform/qt/message_box.h"
#include "texts/language.h"
#include "texts/ui_texts.h"
#include "texts/undo_texts.h"

namespace {

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

bool isPress(const QEvent* event) {
    return event->type() == QEvent::MouseButtonPress ||
           event->type() == QEvent::MouseButtonDblClick;
}

bool isNudgeKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
    }
}

}  // namespace

UndoControl::UndoControl(QWidget& window, ParameterBinding& binding, const Mirror& mirror)
    : QObject(&window),
      m_window(window),
      m_binding(binding),
      m_mirror(mirror),
      m_undo(new QAction(&window)),
      m_redo(new QAction(&window)),
      m_clock(&Clock::system()) {
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* a : {m_undo, m_redo}) {
        a->setShortcutContext(Qt::WindowShortcut);
        window.addAction(a);
    }
    connect(m_undo, &QAction::triggered, this, [this] { undo(); });
    connect(m_redo, &QAction::triggered, this, [this] { redo(); });
    // What one event writes outside a gesture is one step: the group ends
    // once the event loop has finished with it.
    m_history.setGroupHook([this] {
        QMetaObject::invokeMethod(
            this, [this] { m_history.end(); }, Qt::QueuedConnection);
    });
    m_binding.setHistory(&m_history);
    qApp->installEventFilter(this);
    languageRefresh();
}

UndoControl::~UndoControl() {
    m_binding.setHistory(nullptr);
}

void UndoControl::undo() {
    m_binding.undo();
}

void UndoControl::redo() {
    m_binding.redo();
}

void UndoControl::clear(const TextTriple& reason) {
    bool had = m_history.canUndo() || m_history.canRedo();
    m_history.clear();
    if (!had) return;
    MessageBox::show(&m_window,
                     {text(reason), text(uitext::Tip), Language::index(), MessageBox::Buttons::Ok});
}

// After a lost link the device may have been changed by hand or by another
// controller: the history stays only if the values it expects are still there.
void UndoControl::linkEvent(int code, int argument) {
    if (code == LinkEvent::ConnectionState) {
        bool connected = argument == LinkEvent::Connection::Connected;
        if (m_connected && !connected) m_linkLost = true;
        m_connected = connected;
    } else if (code == LinkEvent::ReadComplete && m_linkLost) {
        m_linkLost = false;
        if (!m_history.matches([this](int i) { return m_mirror.value(i); }))
            clear(undotext::ClearedByLink);
    } else if (code == LinkEvent::ValuesReplaced) {
        clear(undotext::ClearedByDevice);
    }
}

void UndoControl::languageRefresh() {
    m_undo->setText(text(undotext::Undo));
    m_redo->setText(text(undotext::Redo));
}

// The menu greys what cannot be done now; the shortcuts stay live, since a
// disabled action would swallow them.
void UndoControl::addTo(QMenu& menu) {
    m_undo->setEnabled(m_history.canUndo());
    m_redo->setEnabled(m_history.canRedo());
    menu.addAction(m_undo);
    menu.addAction(m_redo);
}

// The shortcuts stay live; with nothing to undo they do nothing.
void UndoControl::menuClosed() {
    m_undo->setEnabled(true);
    m_redo->setEnabled(true);
}

// A press on the window opens a group that its release closes: a drag of a
// marker or a slider is one step however many values it wrote.
bool UndoControl::eventFilter(QObject* watched, QEvent* event) {
    noteInput(watched, event);
    if (takesUndoKeys(watched, event)) return true;
    if (isPress(event) && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == &m_window && !m_pressed) {
            m_pressed = true;
            m_history.begin();
        }
    } else if (event->type() == QEvent::MouseButtonRelease && m_pressed) {
        m_pressed = false;
        m_history.end();
    }
    return false;
}

// Wheel notches and arrow keys are nudges that one step may gather; any other
// key or a click ends the run.
void UndoControl::noteInput(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &m_window) return;
    switch (event->type()) {
        case QEvent::Wheel:
            m_history.markRepeatable(true, m_clock->ticks());
            break;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            bool nudge = isNudgeKey(key->key()) && key->modifiers() == Qt::NoModifier;
            m_history.markRepeatable(nudge, m_clock->ticks());
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_history.markRepeatable(false);
            break;
        default:
            break;
    }
}

// A value box in the window would keep Ctrl+Z for its own typing; the
// window's undo takes the key, as it does everywhere else in the window.
bool UndoControl::takesUndoKeys(QObject* watched, QEvent* event) const {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || edit->window() != &m_window) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           (key->key() == Qt::Key_Y && key->modifiers() == Qt::ControlModifier);
}
