#include "app/window_caption.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include "app/undo_control.h"
#include "platform/qt/mouse.h"

namespace {
constexpr int kAboutCorner = 9;
}  // namespace

WindowCaption::WindowCaption(QWidget& window, UndoControl& undo)
    : QObject(&window), m_window(window), m_undo(undo) {
    window.installEventFilter(this);
}

bool WindowCaption::onBand(const QPoint& pos) const {
    return pos.y() < m_height;
}

void WindowCaption::press(const QPoint& pos, const QPoint& globalPos) {
    if (onBand(pos) && !m_window.isMaximized()) Mouse::startWindowMove(&m_window, globalPos);
}

bool WindowCaption::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_window) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::LeftButton)
                press(e->position().toPoint(), e->globalPosition().toPoint());
            return false;
        }
        case QEvent::MouseButtonDblClick: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() != Qt::LeftButton) return false;
            QPoint pos = e->position().toPoint();
            if (pos.x() <= kAboutCorner && pos.y() <= kAboutCorner && m_about)
                m_about();
            else
                press(pos, e->globalPosition().toPoint());
            return false;
        }
        case QEvent::ContextMenu: {
            auto* e = static_cast<QContextMenuEvent*>(event);
            if (!onBand(e->pos())) return false;
            showMenu(e->globalPos());
            return true;
        }
        default:
            return false;
    }
}

void WindowCaption::showMenu(const QPoint& globalPos) {
    QMenu menu(&m_window);
    m_undo.addTo(menu);
    menu.addSeparator();
    for (QAction* action : m_actions) menu.addAction(action);
    menu.exec(globalPos);
    m_undo.menuClosed();
}
