#pragma once

#include <cstdint>
#include <functional>
#include <optional>

class QObject;

// Delivers numbered messages to windows (QObjects that are also
// MessageTargets). Send runs the handler before it returns, always on the
// target's thread: directly when called there, otherwise by waiting for the
// target's thread to run it. Post queues the message; posted messages are
// handled in the order they were posted, together with the rest of Qt's
// queued events.
class MessagePump {
public:
    // The handler's result; 0 when the target is gone before it could handle it.
    static intptr_t send(QObject* target, unsigned message, intptr_t wParam, intptr_t lParam);
    // False when the target is null.
    static bool post(QObject* target, unsigned message, intptr_t wParam, intptr_t lParam);

    // Runs fn on the context's thread and waits for it. Nothing when the
    // context was destroyed before fn could run.
    static std::optional<intptr_t> call(QObject* context, std::function<intptr_t()> fn);
    // Queues fn to run on the context's thread, in order with posted messages.
    static void queue(QObject* context, std::function<void()> fn);
};
