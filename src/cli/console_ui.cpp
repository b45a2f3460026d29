#include "cli/console_ui.h"

#include "link/link_event.h"
#include "texts/text_triple.h"

void ConsoleUi::print(const std::string& line) {
    if (m_quiet) return;
    std::fprintf(m_out, "%s\n", line.c_str());
    std::fflush(m_out);
}

void ConsoleUi::postEvent(int code, int argument) { handleEvent(code, argument); }

void ConsoleUi::sendEvent(int code, int argument) { handleEvent(code, argument); }

void ConsoleUi::handleEvent(int code, int argument) {
    std::lock_guard lock(m_mutex);
    switch (code) {
        case LinkEvent::ParameterReceived: ++m_received; break;
        case LinkEvent::ReadComplete:
            print("Ready: " + std::to_string(m_received.exchange(0)) + " parameters updated");
            break;
        case LinkEvent::ReadSucceeded: print("Full read succeeded"); break;
        case LinkEvent::ConnectionState:
            m_connected = argument == LinkEvent::Connection::Connected;
            if (argument == LinkEvent::Connection::Connected)
                print("Successful: connected");
            else if (argument == LinkEvent::Connection::Started)
                print("Link started");
            else
                print("Search..");
            break;
        case LinkEvent::RelayStatus:
            print("Relay server status " + std::to_string(argument));
            break;
        default: break;
    }
}

LinkUi::Answer ConsoleUi::messageBox(const std::string& text, const std::string& caption, int,
                                     Buttons) {
    std::lock_guard lock(m_mutex);
    print("[" + caption + "] " + text);
    return Yes;
}

void ConsoleUi::progressSetMaximum(int maximum) {
    std::lock_guard lock(m_mutex);
    m_maximum = maximum;
}

void ConsoleUi::progressSetFormat(const std::string& format) {
    std::lock_guard lock(m_mutex);
    m_format = format;
    m_shownPercent = -1;
}

void ConsoleUi::progressSetPosition(int position) {
    std::lock_guard lock(m_mutex);
    m_position = position;
    if (m_visible) printProgress();
}

void ConsoleUi::progressShow() {
    std::lock_guard lock(m_mutex);
    m_visible = true;
    printProgress();
}

void ConsoleUi::progressHide() {
    std::lock_guard lock(m_mutex);
    m_visible = false;
}

// One line per ten per cent, so that a log stays readable.
void ConsoleUi::printProgress() {
    if (m_maximum <= 0 || m_format.empty()) return;
    double percent = m_position * 100.0 / m_maximum;
    int step = static_cast<int>(percent) / 10;
    if (step == m_shownPercent) return;
    m_shownPercent = step;
    print(formatText(m_format.c_str(), percent));
}

void ConsoleUi::setWindowTitle(const std::string& title) {
    std::lock_guard lock(m_mutex);
    print("Title: " + title);
}
