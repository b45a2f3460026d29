#include "link/relay_search.h"

#include <algorithm>
#include <ctime>

#include "link/handshake.h"
#include "link/link.h"

namespace {
constexpr int kStatusTries = 11;
constexpr int kInfoTries = 10;
constexpr int kChannelTries = 10;
constexpr int kBusyMessages = 3;
}  // namespace

void RelaySearch::connect(Handshake& handshake) {
    m_link.sleep(550);
    if (!resolveServer()) return;
    while (m_link.state().running() && cycle(handshake) == Step::Again) {
    }
}

// A Stop abandons a lookup that hangs or the wait before the next one.
bool RelaySearch::resolveServer() {
    LinkState& state = m_link.state();
    auto wait = [&](uint32_t ms) {
        m_link.sleep(ms);
        return state.running();
    };
    for (uint32_t retryMs = kFirstRetryMs; state.running();
         retryMs = std::min(retryMs * 2, kLastRetryMs)) {
        if (m_carrier.lookUpServer(wait)) return state.running();
        if (!wait(retryMs)) return false;
    }
    return false;
}

RelaySearch::Step RelaySearch::cycle(Handshake& handshake) {
    if (m_link.state().running())
        m_link.transportListener().notice(TransportListener::Notice::Searching);
    m_carrier.reopen();
    m_link.sleep(1200);
    if (!queryStatus()) return Step::Again;
    if (!chooseDeviceId()) {
        m_link.sleep(3000);
        return Step::Again;
    }
    if (fetchDeviceInfo() == Step::Again) return Step::Again;
    if (!openChannel() || !confirmBinding()) return Step::Again;
    m_carrier.startReceiving(m_link.state().stopToken());
    m_link.sleep(500);
    return handshake.prove(m_carrier, m_carrier.ticket()) ? Step::Done : Step::Again;
}

bool RelaySearch::queryStatus() {
    LinkState& state = m_link.state();
    TransportListener& listener = m_link.transportListener();
    std::optional<uint16_t> status;
    for (int attempt = 1; !status && state.running(); ++attempt) {
        if (attempt > kStatusTries) {
            listener.notice(TransportListener::Notice::RelayStatus, m_status);
            m_link.sleep(2000);
            return false;
        }
        status = m_carrier.queryStatus();
    }
    if (!status) return false;
    m_status = *status;
    listener.notice(TransportListener::Notice::RelayStatus, m_status);
    return true;
}

bool RelaySearch::chooseDeviceId() {
    std::atomic<uint32_t>& chosen = m_link.state().chosenDeviceId;
    if (chosen == 0) chosen = m_link.askDeviceId();
    return chosen != 0;
}

bool RelaySearch::acceptable(const RelayCarrier::Entry& entry) const {
    if (!entry.valid) return false;
    if (entry.boundClient == 0 || entry.boundClient == m_carrier.clientNumber()) return true;
    return static_cast<int64_t>(std::time(nullptr)) - entry.boundAt > kStaleBindingSeconds;
}

RelaySearch::Step RelaySearch::fetchDeviceInfo() {
    LinkState& state = m_link.state();
    TransportListener& listener = m_link.transportListener();
    std::optional<RelayCarrier::Entry> found;
    std::optional<RelayCarrier::Entry> last;
    for (int attempt = 0; attempt < kInfoTries && !found && state.running(); ++attempt) {
        if (attempt > 0) m_link.sleep(500);
        auto entry = m_carrier.deviceInfo(state.chosenDeviceId, 2000);
        if (!entry) continue;
        last = entry;
        if (acceptable(*entry)) found = entry;
    }
    if (!found) {
        if (m_busyCount < kBusyMessages && state.running()) {
            ++m_busyCount;
            bool busy = last && last->boundClient != 0;
            listener.notice(busy ? TransportListener::Notice::EquipmentBusy
                                 : TransportListener::Notice::WrongDeviceId);
        }
        m_link.sleep(1000);
        return Step::Again;
    }
    if (!found->ours) {
        listener.notice(TransportListener::Notice::WrongDeviceId);
        m_link.sleep(1000);
        return Step::Again;
    }
    m_carrier.adopt();
    return Step::Done;
}

bool RelaySearch::openChannel() {
    for (int attempt = 0; attempt < kChannelTries && m_link.state().running(); ++attempt)
        if (m_carrier.openChannel()) return true;
    return false;
}

bool RelaySearch::confirmBinding() {
    LinkState& state = m_link.state();
    for (int attempt = 0; attempt < kChannelTries && state.running(); ++attempt) {
        auto entry = m_carrier.deviceInfo(state.chosenDeviceId, 1000);
        if (entry && entry->boundClient == m_carrier.clientNumber()) {
            m_carrier.adopt();
            return true;
        }
    }
    return false;
}
