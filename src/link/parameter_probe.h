#pragma once

#include <cstdint>

#include "link/handshake.h"

class Link;

// USB and serial: the device answers a read of parameter 0 within the wait.
class ParameterProbe : public Handshake {
public:
    ParameterProbe(Link& link, uint32_t waitMs) : m_link(link), m_waitMs(waitMs) {}
    bool prove(const Transport& carrier, const std::vector<uint8_t>& ticket) override;

private:
    Link& m_link;
    uint32_t m_waitMs;
};
