#include "link/relay_bind.h"

#include "link/link.h"

namespace {
constexpr int kTries = 50;
constexpr int kUnansweredLimit = 5;
constexpr uint32_t kWaitMs = 3000;

uint32_t bindNumberOf(const std::vector<uint8_t>& ticket) {
    uint32_t number = 0;
    for (size_t k = 0; k < 4 && k < ticket.size(); ++k) number |= uint32_t{ticket[k]} << (8 * k);
    return number;
}
}  // namespace

bool RelayBind::prove(const Transport& carrier, const std::vector<uint8_t>& ticket) {
    LinkState& state = m_link.state();
    DeviceInfo& device = m_link.device();
    state.pauseFlag = false;
    device.relayBound = false;
    m_link.parser().setRelayBindNumber(bindNumberOf(ticket));
    int unanswered = 0;
    for (int attempt = 0; attempt < kTries && state.running(); ++attempt) {
        bool signalled = m_link.requestOn(carrier, Command::RelayBind, ticket, kWaitMs);
        if (device.relayBound) return m_link.claimAlive(carrier);
        if (!signalled && ++unanswered > kUnansweredLimit) return false;
        m_link.sleep(100);
    }
    return false;
}
