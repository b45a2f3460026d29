#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "link/transport_search.h"

class Link;
class PortCarrier;

// Tries the ports in turn and keeps the first on which the device answers;
// the list is asked again whenever it has been tried to its end.
class SerialSearch : public TransportSearch {
public:
    SerialSearch(Link& link, PortCarrier& carrier) : m_link(link), m_carrier(carrier) {}
    void connect(Handshake& handshake) override;

private:
    bool tryPort(const std::string& port, Handshake& handshake);

    Link& m_link;
    PortCarrier& m_carrier;
    std::vector<std::string> m_list;
    size_t m_cursor = 0;
};
