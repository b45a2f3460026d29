#include "link/parameter_probe.h"

#include "link/link.h"
#include "link/transport.h"

bool ParameterProbe::prove(const Transport& carrier, const std::vector<uint8_t>&) {
    Mirror& mirror = m_link.mirror();
    mirror.setReceivedMark(Mirror::kMagic, false);
    if (carrier.isConnected())
        m_link.requestParameter(Mirror::kMagic, m_waitMs, Link::Earlier::Drop);
    return mirror.received(Mirror::kMagic) && m_link.claimAlive(carrier);
}
