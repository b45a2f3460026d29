#include "daemon/daemon_ui.h"

#include "link/link_event.h"

void DaemonUi::setListener(Listener listener) {
    std::lock_guard lock(m_mutex);
    m_listener = std::move(listener);
}

void DaemonUi::postEvent(int code, int argument) {
    handle(code, argument);
}

void DaemonUi::sendEvent(int code, int argument) {
    handle(code, argument);
}

void DaemonUi::handle(int code, int argument) {
    if (code == LinkEvent::ConnectionState) {
        m_read = false;
        m_connection = argument == LinkEvent::Connection::Connected ? Connection::Connected
                                                                    : Connection::Searching;
    } else if (code == LinkEvent::ReadComplete) {
        m_read = true;
    }
    tell(code, argument);
}

LinkUi::Answer DaemonUi::messageBox(const std::string& text, const std::string&, int,
                                    Buttons buttons) {
    {
        std::lock_guard lock(m_messageMutex);
        m_lastMessage = text;
    }
    tell(kMessage, 0);
    return buttons == Buttons::Ok ? Yes : No;
}

void DaemonUi::progressSetPosition(int position) {
    m_position = position;
    tell(kProgress, position);
}

std::string DaemonUi::lastMessage() const {
    std::lock_guard lock(m_messageMutex);
    return m_lastMessage;
}

void DaemonUi::tell(int code, int argument) {
    std::lock_guard lock(m_mutex);
    if (m_listener) m_listener(code, argument);
}
