#include "link/parameter_probe.h"

#include "link/link.h"
#include "link/transport.h"

bool ParameterProbe::prove(const Transport& carrier, const std::vector<uint8_t>&) {
    Mirror& mirror = m_link.mirror();
    mirror.setReceivedMark(Mirror::kMagic, false);
    std::vector<uint8_t> payload;
    Frame::putU16(payload, static_cast<uint16_t>(Mirror::kMagic));
    m_link.requestOn(carrier, Command::ReadParameters, payload, m_waitMs);
    return mirror.received(Mirror::kMagic) && m_link.claimAlive(carrier);
}
