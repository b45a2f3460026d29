#pragma once

#include <cstdint>

#include "link/handshake.h"

class Link;

// The Wi-Fi module: the device behind it reports the device ID the user chose.
// With "any device" chosen, the first ID reported becomes the chosen one; a
// module the user picked that did not hold the device is forgotten, so that
// the user is asked again.
class DeviceIdCheck : public Handshake {
public:
    static constexpr uint32_t kAnyDevice = 0xFFFFFFFF;
    static constexpr uint32_t kWaitMs = 3000;

    explicit DeviceIdCheck(Link& link) : m_link(link) {}
    bool prove(const Transport& carrier, const std::vector<uint8_t>& ticket) override;

private:
    Link& m_link;
};
