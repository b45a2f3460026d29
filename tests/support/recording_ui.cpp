#include "recording_ui.h"

void RecordingUi::record(const Event& event) {
    std::function<void(const Event&)> handler;
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(event);
        handler = m_eventHandler;
    }
    if (handler) handler(event);
}

void RecordingUi::postEvent(int code, int argument) {
    record({code, argument, false});
}

void RecordingUi::sendEvent(int code, int argument) {
    record({code, argument, true});
}

LinkUi::Answer RecordingUi::messageBox(const std::string& text, const std::string& caption,
                                       int language, Buttons) {
    Message message{text, caption, language};
    std::function<Answer(const Message&)> handler;
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(message);
        handler = m_handler;
    }
    return handler ? handler(message) : Yes;
}

void RecordingUi::progressSetMaximum(int maximum) {
    std::lock_guard lock(m_mutex);
    m_progress.push_back("max " + std::to_string(maximum));
}

void RecordingUi::progressSetFormat(const std::string& format) {
    std::lock_guard lock(m_mutex);
    m_progress.push_back("format " + format);
}

void RecordingUi::progressSetPosition(int position) {
    std::lock_guard lock(m_mutex);
    m_progress.push_back("pos " + std::to_string(position));
    if (m_cancelAt >= 0 && position >= m_cancelAt) m_cancelled = true;
}

void RecordingUi::progressShow() {
    std::lock_guard lock(m_mutex);
    m_progress.push_back("show");
}

void RecordingUi::progressHide() {
    std::lock_guard lock(m_mutex);
    m_progress.push_back("hide");
}

void RecordingUi::setWindowTitle(const std::string& title) {
    std::lock_guard lock(m_mutex);
    m_title = title;
}

void RecordingUi::onMessageBox(std::function<Answer(const Message&)> handler) {
    std::lock_guard lock(m_mutex);
    m_handler = std::move(handler);
}

void RecordingUi::onEvent(std::function<void(const Event&)> handler) {
    std::lock_guard lock(m_mutex);
    m_eventHandler = std::move(handler);
}

std::vector<RecordingUi::Event> RecordingUi::events() const {
    std::lock_guard lock(m_mutex);
    return m_events;
}

std::vector<RecordingUi::Message> RecordingUi::messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

int RecordingUi::countEvents(int code, int argument) const {
    std::lock_guard lock(m_mutex);
    int n = 0;
    for (const auto& e : m_events) n += e.code == code && e.argument == argument;
    return n;
}

int RecordingUi::countMessages(const std::string& text) const {
    std::lock_guard lock(m_mutex);
    int n = 0;
    for (const auto& m : m_messages) n += m.text == text;
    return n;
}

void RecordingUi::progressSetCancellable(bool cancellable) {
    std::lock_guard lock(m_mutex);
    m_progress.push_back(cancellable ? "cancellable" : "not cancellable");
}

bool RecordingUi::progressCancelled() const {
    std::lock_guard lock(m_mutex);
    return m_cancelled;
}

void RecordingUi::cancelAtPosition(int position) {
    std::lock_guard lock(m_mutex);
    m_cancelAt = position;
    m_cancelled = false;
}

std::vector<std::string> RecordingUi::progressLog() const {
    std::lock_guard lock(m_mutex);
    return m_progress;
}

std::string RecordingUi::title() const {
    std::lock_guard lock(m_mutex);
    return m_title;
}

void RecordingUi::clear() {
    std::lock_guard lock(m_mutex);
    m_events.clear();
    m_messages.clear();
    m_progress.clear();
}
