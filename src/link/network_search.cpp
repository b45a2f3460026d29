#include "link/network_search.h"

#include <algorithm>

#include "link/handshake.h"
#include "link/link.h"
#include "link/module_carrier.h"

void NetworkSearch::connect(Handshake& handshake) {
    LinkState& state = m_link.state();
    m_carrier.close();
    m_link.sleep(50);
    m_link.module().clearClients();
    m_fullSaid = false;
    // A whole round, so that every module that answers is on the list.
    while (state.running() && !refresh()) m_link.sleep(20);
    m_link.sleep(200);

    while (state.running()) {
        if (!chooseDeviceId()) return;
        if (chooseModule()) {
            std::vector<uint32_t> clients = candidates();
            for (uint32_t ip : clients) {
                if (!state.running() || state.alive()) break;
                if (tryAddress(ip, handshake)) return;
                m_link.sleep(100);
            }
            state.chosenDeviceId = 0;
            if (clients.empty()) m_link.sleep(2000);
        } else {
            m_link.sleep(1000);
        }
        refresh();
    }
}

bool NetworkSearch::refresh() {
    ModuleTable& module = m_link.module();
    for (uint32_t ip : m_carrier.discover(m_link.state().stopToken())) {
        if (module.addClient(ip) || m_fullSaid) continue;
        m_fullSaid = true;
        m_link.transportListener().notice(TransportListener::Notice::ClientListFull);
    }
    return !module.clients().empty();
}

bool NetworkSearch::chooseDeviceId() {
    LinkState& state = m_link.state();
    TransportListener& listener = m_link.transportListener();
    while (state.running()) {
        listener.notice(TransportListener::Notice::Searching);
        m_link.sleep(1050);
        if (state.chosenDeviceId == 0) state.chosenDeviceId = m_link.askDeviceId();
        if (state.chosenDeviceId != 0) return true;
        if (state.running()) listener.notice(TransportListener::Notice::RelayStatus, 1);
        m_link.sleep(20);
    }
    return false;
}

bool NetworkSearch::chooseModule() {
    LinkState& state = m_link.state();
    std::vector<uint32_t> clients = m_link.module().clients();
    auto picked = [&] {
        uint32_t ip = state.networkDeviceAddress;
        return std::find(clients.begin(), clients.end(), ip) != clients.end();
    };
    if (clients.size() <= 1 || picked()) return true;
    m_link.transportListener().notice(TransportListener::Notice::ChooseModule,
                                      static_cast<int>(clients.size()));
    return picked() || state.chosenDeviceId != DeviceIdCheck::kAnyDevice;
}

std::vector<uint32_t> NetworkSearch::candidates() const {
    std::vector<uint32_t> clients = m_link.module().clients();
    uint32_t picked = m_link.state().networkDeviceAddress;
    if (std::find(clients.begin(), clients.end(), picked) != clients.end()) return {picked};
    return clients;
}

bool NetworkSearch::tryAddress(uint32_t ip, Handshake& handshake) {
    LinkState& state = m_link.state();
    if (!m_carrier.open(ip, state.chosenDeviceId, state.stopToken())) return false;
    m_link.sleep(100);
    if (handshake.prove(m_carrier)) {
        m_carrier.trust(state.chosenDeviceId);
        return true;
    }
    m_carrier.hangUp();
    m_link.sleep(300);
    return false;
}
