#include "cli/ctl_ui.h"

#include <cstdio>

#include "link/link_event.h"

void CtlUi::postEvent(int code, int argument) {
    if (code == LinkEvent::ParameterReceived && Mirror::valid(argument))
        ++m_deliveries[static_cast<size_t>(argument)];
    ConsoleUi::postEvent(code, argument);
}

void CtlUi::sendEvent(int code, int argument) {
    if (code == LinkEvent::ClientList) m_moduleChoiceAsked = true;
    ConsoleUi::sendEvent(code, argument);
}

LinkUi::Answer CtlUi::messageBox(const std::string& text, const std::string& caption, int,
                                 Buttons) {
    std::lock_guard lock(m_messageMutex);
    m_lastMessage = text;
    ++m_counts[text];
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    return Yes;
}

uint32_t CtlUi::deliveries(int index) const {
    return Mirror::valid(index) ? m_deliveries[static_cast<size_t>(index)].load() : 0;
}

std::string CtlUi::lastMessage() const {
    std::lock_guard lock(m_messageMutex);
    return m_lastMessage;
}

uint64_t CtlUi::messageCount(const std::string& text) const {
    std::lock_guard lock(m_messageMutex);
    auto it = m_counts.find(text);
    return it == m_counts.end() ? 0 : it->second;
}
