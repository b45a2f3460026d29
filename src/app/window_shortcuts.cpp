#include "app/window_shortcuts.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "texts/ui_texts.h"
#include "texts/upgrade_texts.h"

WindowShortcuts::WindowShortcuts(QWidget& window, Handlers handlers)
    : QObject(&window), m_window(window) {
    add(Qt::Key_Escape, [this] { escape(); });
    add(Qt::CTRL | Qt::Key_R, std::move(handlers.routing));
    m_wifi = add(Qt::CTRL | Qt::Key_W, std::move(handlers.wifi));
    m_upgrade = add(Qt::CTRL | Qt::Key_U, std::move(handlers.upgrade));
    qApp->installEventFilter(this);
}

// Qt may close an open list while offering it the key and then still hand the
// key to the window's shortcut: taking the offer keeps the window out of it.
bool WindowShortcuts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && QApplication::activePopupWidget() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        event->accept();
    return QObject::eventFilter(watched, event);
}

QAction* WindowShortcuts::add(const QKeySequence& keys, std::function<void()> fn) {
    auto* action = new QAction(&m_window);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, std::move(fn));
    m_window.addAction(action);
    return action;
}

void WindowShortcuts::refreshTexts() {
    m_wifi->setText(QString::fromUtf8(uitext::WifiSet.get()));
    m_upgrade->setText(QString::fromUtf8(upgradetext::DialogTitle.get()));
}

void WindowShortcuts::escape() {
    if (!cancelTyping()) m_window.close();
}

bool WindowShortcuts::cancelTyping() {
    auto* edit = qobject_cast<QLineEdit*>(m_window.focusWidget());
    if (!edit || !edit->isUndoAvailable()) return false;
    while (edit->isUndoAvailable()) edit->undo();
    return true;
}
