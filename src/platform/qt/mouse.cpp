#include "platform/qt/mouse.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

// Follows the pointer where the window system cannot move the window itself.
class ManualMove : public QObject {
public:
    ManualMove(QWidget* window, const QPoint& globalPos)
        : m_window(window), m_offset(globalPos - window->frameGeometry().topLeft()) {
        Mouse::setCursor(window, Mouse::Cursor::Hand);
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (!m_window) {
            deleteLater();
            return false;
        }
        if (event->type() == QEvent::MouseMove) {
            auto* me = static_cast<QMouseEvent*>(event);
            m_window->move(me->globalPosition().toPoint() - m_offset);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            Mouse::setCursor(m_window, Mouse::Cursor::Arrow);
            qApp->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
    QPoint m_offset;
};

}  // namespace

void Mouse::capture(QWidget* widget) {
    if (widget && QWidget::mouseGrabber() != widget) widget->grabMouse();
}

void Mouse::release() {
    if (QWidget* holder = QWidget::mouseGrabber()) holder->releaseMouse();
}

QWidget* Mouse::captured() {
    return QWidget::mouseGrabber();
}

void Mouse::setCursor(QWidget* widget, Cursor cursor) {
    if (!widget) return;
    if (cursor == Cursor::Hand)
        widget->setCursor(Qt::PointingHandCursor);
    else
        widget->unsetCursor();
}

void Mouse::startWindowMove(QWidget* window, const QPoint& globalPos) {
    if (!window) return;
    window = window->window();
    // The window system shows its own cursor while it moves the window.
    if (QWindow* handle = window->windowHandle(); handle && handle->startSystemMove()) return;
    new ManualMove(window, globalPos);
}
