#include "platform/qt/control_notification.h"

#include <QWidget>

#include "platform/qt/message_pump.h"

bool ControlNotification::post(QWidget* control, unsigned controlId, intptr_t wParam,
                               intptr_t lParam) {
    if (!control) return false;
    return MessagePump::post(control->parentWidget(), controlId, wParam, lParam);
}

intptr_t ControlNotification::send(QWidget* control, unsigned controlId, intptr_t wParam,
                                   intptr_t lParam) {
    if (!control) return 0;
    return MessagePump::send(control->parentWidget(), controlId, wParam, lParam);
}
