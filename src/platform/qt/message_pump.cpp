#include "platform/qt/message_pump.h"

#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include "platform/qt/cross_thread_caller.h"
#include "platform/qt/message_target.h"

namespace {

intptr_t deliver(QObject* target, unsigned message, intptr_t wParam, intptr_t lParam) {
    auto* handler = dynamic_cast<MessageTarget*>(target);
    return handler ? handler->onMessage(message, wParam, lParam) : 0;
}

bool onThreadOf(const QObject* context) {
    return QThread::currentThread() == context->thread();
}

}  // namespace

intptr_t MessagePump::send(QObject* target, unsigned message, intptr_t wParam, intptr_t lParam) {
    if (!target) return 0;
    QPointer<QObject> guarded(target);
    auto result = call(target, [guarded, message, wParam, lParam]() -> intptr_t {
        return guarded ? deliver(guarded.data(), message, wParam, lParam) : 0;
    });
    return result.value_or(0);
}

bool MessagePump::post(QObject* target, unsigned message, intptr_t wParam, intptr_t lParam) {
    if (!target) return false;
    QPointer<QObject> guarded(target);
    queue(target, [guarded, message, wParam, lParam] {
        if (guarded) deliver(guarded.data(), message, wParam, lParam);
    });
    return true;
}

std::optional<intptr_t> MessagePump::call(QObject* context, std::function<intptr_t()> fn) {
    if (!context) return std::nullopt;
    if (onThreadOf(context)) return fn();
    CrossThreadCaller caller(context);
    return caller.call(std::move(fn));
}

void MessagePump::queue(QObject* context, std::function<void()> fn) {
    if (!context) return;
    QMetaObject::invokeMethod(context, std::move(fn), Qt::QueuedConnection);
}
