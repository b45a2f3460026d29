#include "link/usb_search.h"

#include "link/device_carrier.h"
#include "link/handshake.h"
#include "link/link.h"

void UsbSearch::connect(Handshake& handshake) {
    LinkState& state = m_link.state();
    while (state.running()) {
        m_link.transportListener().notice(TransportListener::Notice::Searching);
        m_link.sleep(100);
        while (state.running()) {
            m_carrier.close();
            if (!m_carrier.open()) {
                m_link.sleep(100);
                continue;
            }
            if (handshake.prove(m_carrier)) {
                m_link.sleep(100);
                return;
            }
            break;  // searching again, announced at the top
        }
    }
}
