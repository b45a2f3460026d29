#pragma once

#include <cstdint>
#include <vector>

#include "link/transport_search.h"

class Link;
class ModuleCarrier;

// Finds the device behind a Wi-Fi module: asks the network until a module
// answers, gets the device ID to look for, and opens the modules in turn
// until one holds that device. Of several modules none is taken blindly: the
// user picks one, and a program that cannot ask (any device would do) takes none.
class NetworkSearch : public TransportSearch {
public:
    NetworkSearch(Link& link, ModuleCarrier& carrier) : m_link(link), m_carrier(carrier) {}
    void connect(Handshake& handshake) override;

private:
    // One discovery round into the client list; whether the list holds any.
    bool refresh();
    bool chooseDeviceId();
    bool chooseModule();
    std::vector<uint32_t> candidates() const;
    bool tryAddress(uint32_t ip, Handshake& handshake);

    Link& m_link;
    ModuleCarrier& m_carrier;
    bool m_fullSaid = false;
};
