#pragma once

#include <cstdint>

class QWidget;

// How a custom control reports a user action: a message to its parent whose
// number is the control's own identifier, wParam its notify value (normally
// its index in the owner's array) and lParam a value. Buttons and combo boxes
// post it; sliders, band strips, value edits and the graph send it.
class ControlNotification {
public:
    static bool post(QWidget* control, unsigned controlId, intptr_t wParam, intptr_t lParam);
    static intptr_t send(QWidget* control, unsigned controlId, intptr_t wParam, intptr_t lParam);
};
