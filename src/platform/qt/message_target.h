#pragma once

#include <cstdint>

// Numbered window messages between our windows, as the Windows message model
// has them: a number, wParam and lParam, and an integer result.
namespace WindowMessage {
inline constexpr unsigned Close = 0x0010;
inline constexpr unsigned Timer = 0x0113;
inline constexpr unsigned User = 0x0400;
}  // namespace WindowMessage

// A window that takes numbered messages. Implemented by QObjects that live on
// the user-interface thread; MessagePump delivers to them.
class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    virtual intptr_t onMessage(unsigned message, intptr_t wParam, intptr_t lParam) = 0;
};
