#include "link/transports/hidapi_backend.h"

#include <hidapi.h>

#include "link/transports/hidapi_device.h"

namespace {

// Serial numbers are plain ASCII in practice; anything else becomes '?'.
std::string narrow(const wchar_t* text) {
    std::string out;
    for (; text && *text; ++text) out += *text > 0 && *text < 0x7F ? static_cast<char>(*text) : '?';
    return out;
}

}  // namespace

HidapiBackend::HidapiBackend() : m_ready(hid_init() == 0) {}

HidapiBackend::~HidapiBackend() {
    if (m_ready) hid_exit();
}

std::vector<HidDeviceInfo> HidapiBackend::enumerate() {
    std::vector<HidDeviceInfo> list;
    if (!m_ready) return list;
    hid_device_info* all = hid_enumerate(0, 0);
    for (hid_device_info* d = all; d; d = d->next)
        if (d->path)
            list.push_back({d->path, d->vendor_id, d->product_id, narrow(d->serial_number)});
    hid_free_enumeration(all);
    return list;
}

std::unique_ptr<HidDevice> HidapiBackend::open(const std::string& path) {
    if (!m_ready) return nullptr;
    hid_device* reader = hid_open_path(path.c_str());
    if (!reader) return nullptr;
    // A second handle for writing, so that the reader thread and the sender
    // never share one; where the platform opens a device only once, they do.
    hid_device* writer = hid_open_path(path.c_str());
    return std::make_unique<HidapiDevice>(reader, writer);
}
