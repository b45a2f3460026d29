#include "link/serial_search.h"

#include "link/handshake.h"
#include "link/link.h"
#include "link/port_carrier.h"

void SerialSearch::connect(Handshake& handshake) {
    LinkState& state = m_link.state();
    if (state.running()) m_link.transportListener().notice(TransportListener::Notice::Searching);
    while (state.running()) {
        m_link.sleep(10);
        if (m_cursor < m_list.size()) {
            std::string port = m_list[m_cursor++];
            m_link.parser().requestReset();
            if (tryPort(port, handshake)) return;
        }
        if (m_cursor >= m_list.size()) {
            m_list = m_carrier.ports();
            m_cursor = 0;
            m_link.sleep(100);
        }
    }
}

bool SerialSearch::tryPort(const std::string& port, Handshake& handshake) {
    if (!m_carrier.open(port)) return false;
    if (handshake.prove(m_carrier)) return true;
    // The port went away while we waited.
    if (!m_carrier.carrierUp() && m_link.state().running())
        m_link.transportListener().notice(TransportListener::Notice::Searching);
    return false;
}
