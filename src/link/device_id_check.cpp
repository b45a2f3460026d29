#include "link/device_id_check.h"

#include "link/link.h"

bool DeviceIdCheck::prove(const Transport& carrier, const std::vector<uint8_t>&) {
    LinkState& state = m_link.state();
    m_link.device().setDeviceId(nullptr, 0);
    m_link.requestOn(carrier, Command::ReadDeviceId, {0}, kWaitMs);
    uint32_t id = m_link.device().deviceIdNumber();
    if (id != 0 && state.chosenDeviceId == kAnyDevice) state.chosenDeviceId = id;
    if (id == 0 || id != state.chosenDeviceId) state.networkDeviceAddress = 0;
    return id != 0 && id == state.chosenDeviceId && state.running() && m_link.claimAlive(carrier);
}
