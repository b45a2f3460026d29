#pragma once

#include "link/transport_search.h"

class DeviceCarrier;
class Link;

// Opens the USB device every 100 ms until it is there and answers the probe.
class UsbSearch : public TransportSearch {
public:
    UsbSearch(Link& link, DeviceCarrier& carrier) : m_link(link), m_carrier(carrier) {}
    void connect(Handshake& handshake) override;

private:
    Link& m_link;
    DeviceCarrier& m_carrier;
};
