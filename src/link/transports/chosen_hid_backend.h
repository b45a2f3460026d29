#pragma once

#include <string>

#include "link/transports/hid_backend.h"

// One device among several on USB: another backend's devices, narrowed to the
// one whose path or serial number is the choice.
class ChosenHidBackend : public HidBackend {
public:
    ChosenHidBackend(HidBackend& all, std::string choice)
        : m_all(all), m_choice(std::move(choice)) {}

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override { return m_all.open(path); }

private:
    HidBackend& m_all;
    std::string m_choice;
};
