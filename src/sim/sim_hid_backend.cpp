#include "sim/sim_hid_backend.h"

#include "link/transports/hid_frame_channel.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_device.h"

namespace {

// A device that is there but never answers.
class MuteHidDevice : public HidDevice {
public:
    bool writeReport(const uint8_t*, size_t, uint32_t) override { return true; }
    int readReport(uint8_t*, size_t, uint32_t) override { return 0; }
};

}  // namespace

void SimHidBackend::addOtherDevice(uint16_t vendor, uint16_t product) {
    m_others.push_back({"sim:other" + std::to_string(m_others.size()), vendor, product});
}

std::vector<HidDeviceInfo> SimHidBackend::enumerate() {
    std::vector<HidDeviceInfo> list = m_others;
    if (!m_device.faults().absent)
        list.push_back(
            {kPath, HidFrameChannel::kVendor, HidFrameChannel::kProduct, m_device.usbSerial()});
    return list;
}

std::unique_ptr<HidDevice> SimHidBackend::open(const std::string& path) {
    if (path == kPath) {
        if (m_device.faults().absent) return nullptr;
        return std::make_unique<SimHidDevice>(m_device, m_clock);
    }
    for (const auto& other : m_others)
        if (other.path == path) return std::make_unique<MuteHidDevice>();
    return nullptr;
}
