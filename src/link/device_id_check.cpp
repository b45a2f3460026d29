#include "link/device_id_check.h"

#include "link/link.h"

bool DeviceIdCheck::prove(const Transport& carrier, const std::vector<uint8_t>&) {
    LinkState& state = m_link.state();
    m_link.device().setDeviceId(nullptr, 0);
    // Not the usual wait: the link counts as down until the ID is proved.
    state.replySemaphore.tryAcquire();
    state.awaitingReply = true;
    m_link.send(Command::ReadDeviceId, {0});
    state.replySemaphore.acquire(m_link.clock(), kWaitMs);
    state.awaitingReply = false;
    uint32_t id = m_link.device().deviceIdNumber();
    if (id != 0 && state.chosenDeviceId == kAnyDevice) state.chosenDeviceId = id;
    if (id == 0 || id != state.chosenDeviceId) state.networkDeviceAddress = 0;
    return id != 0 && id == state.chosenDeviceId && state.running() && m_link.claimAlive(carrier);
}
