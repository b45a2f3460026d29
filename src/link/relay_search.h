#pragma once

#include <cstdint>

#include "link/relay_carrier.h"
#include "link/transport_search.h"

class Link;

// Reaches the device through the relay server: resolves the server's name
// (again after 1 s, then twice as long each time up to 30 s), asks its status,
// gets the device ID to look for, takes the device's entry unless another
// client holds it (a binding older than 300 s no longer counts), opens its
// channel and waits until the binding is ours.
class RelaySearch : public TransportSearch {
public:
    static constexpr uint32_t kFirstRetryMs = 1000;
    static constexpr uint32_t kLastRetryMs = 30000;
    static constexpr int64_t kStaleBindingSeconds = 300;

    RelaySearch(Link& link, RelayCarrier& carrier) : m_link(link), m_carrier(carrier) {}
    void connect(Handshake& handshake) override;

private:
    enum class Step { Done, Again };

    bool resolveServer();
    Step cycle(Handshake& handshake);
    bool queryStatus();
    bool chooseDeviceId();
    Step fetchDeviceInfo();
    bool openChannel();
    bool confirmBinding();
    bool acceptable(const RelayCarrier::Entry& entry) const;

    Link& m_link;
    RelayCarrier& m_carrier;
    uint16_t m_status = 0;
    int m_busyCount = 0;
};
