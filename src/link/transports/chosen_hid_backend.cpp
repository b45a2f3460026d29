#include "link/transports/chosen_hid_backend.h"

#include <algorithm>

std::vector<HidDeviceInfo> ChosenHidBackend::enumerate() {
    std::vector<HidDeviceInfo> list = m_all.enumerate();
    std::erase_if(list, [&](const HidDeviceInfo& d) {
        return d.path != m_choice && (d.serial.empty() || d.serial != m_choice);
    });
    return list;
}
