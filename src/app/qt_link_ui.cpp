#include "app/qt_link_ui.h"

#include <QMetaObject>

#include "platform/qt/message_box.h"

void QtLinkUi::attach(QWidget* window, EventHandler handler) {
    std::lock_guard lock(m_mutex);
    m_window = window;
    m_windowHandler = std::move(handler);
    m_closed = false;
    m_caller = std::make_unique<CrossThreadCaller>(window);
    if (!m_progress) m_progress = new ProgressDialog(window);
}

void QtLinkUi::setEventTarget(QObject* target, EventHandler handler) {
    std::lock_guard lock(m_mutex);
    m_target = {target, target ? std::move(handler) : EventHandler()};
}

void QtLinkUi::close() {
    std::lock_guard lock(m_mutex);
    m_closed = true;
    if (m_caller) m_caller->close();
}

QtLinkUi::Target QtLinkUi::eventTarget() const {
    std::lock_guard lock(m_mutex);
    if (m_closed) return {};
    if (m_target.context && m_target.handler) return m_target;
    return {m_window.data(), m_windowHandler};
}

void QtLinkUi::postEvent(int code, int argument) {
    Target target = eventTarget();
    if (!target.context || !target.handler) return;
    // Dropped with the target when it goes before the event is handled.
    QMetaObject::invokeMethod(
        target.context.data(),
        [handler = std::move(target.handler), code, argument] { handler(code, argument); },
        Qt::QueuedConnection);
}

void QtLinkUi::sendEvent(int code, int argument) {
    Target target = eventTarget();
    CrossThreadCaller* caller;
    {
        std::lock_guard lock(m_mutex);
        caller = m_caller.get();
    }
    if (!target.context || !target.handler || !caller) return;
    caller->call([target, code, argument]() -> intptr_t {
        if (target.context) target.handler(code, argument);
        return 0;
    });
}

LinkUi::Answer QtLinkUi::messageBox(const std::string& text, const std::string& caption,
                                    int language, Buttons buttons) {
    CrossThreadCaller* caller;
    QPointer<QWidget> owner;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return No;
        caller = m_caller.get();
        owner = m_window;
    }
    MessageBox::Request request{QString::fromStdString(text), QString::fromStdString(caption),
                                language,
                                buttons == Buttons::YesNo      ? MessageBox::Buttons::YesNo
                                : buttons == Buttons::OkCancel ? MessageBox::Buttons::OkCancel
                                                               : MessageBox::Buttons::Ok};
    auto show = [owner, request]() -> intptr_t {
        return MessageBox::show(owner.data(), request) == MessageBox::Answer::Yes;
    };
    std::optional<intptr_t> answer = caller ? caller->call(show) : std::nullopt;
    // A box the window could no longer show counts as declined.
    return answer.value_or(0) ? Yes : No;
}

template <typename Fn>
void QtLinkUi::withProgress(Fn fn) {
    std::lock_guard lock(m_mutex);
    if (!m_closed && m_progress) fn(*m_progress);
}

void QtLinkUi::progressSetMaximum(int maximum) {
    withProgress([&](ProgressDialog& d) { d.setMaximum(maximum); });
}

void QtLinkUi::progressSetFormat(const std::string& format) {
    withProgress([&](ProgressDialog& d) { d.setFormat(QString::fromStdString(format)); });
}

void QtLinkUi::progressSetPosition(int position) {
    withProgress([&](ProgressDialog& d) { d.setPosition(position); });
}

void QtLinkUi::progressShow() {
    withProgress([](ProgressDialog& d) { d.showDialog(); });
}

void QtLinkUi::progressHide() {
    withProgress([](ProgressDialog& d) { d.hideDialog(); });
}

void QtLinkUi::progressSetCancellable(bool cancellable) {
    withProgress([&](ProgressDialog& d) { d.setCancellable(cancellable); });
}

bool QtLinkUi::progressCancelled() const {
    std::lock_guard lock(m_mutex);
    return m_progress && m_progress->cancelled();
}

void QtLinkUi::setWindowTitle(const std::string& title) {
    QPointer<QWidget> window;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return;
        window = m_window;
    }
    if (!window) return;
    QString text = QString::fromStdString(title);
    QMetaObject::invokeMethod(
        window.data(), [window, text] { window->setWindowTitle(text); }, Qt::QueuedConnection);
}
