#pragma once

#include "link/transports/hid_backend.h"

// HID devices through hidapi (the hidraw backend on Linux). Everything the
// link does with a device is decided above this class; here are only the
// library calls.
class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    // False when the library could not start; enumerate() is then empty.
    bool ready() const { return m_ready; }

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;

private:
    bool m_ready = false;
};
