#include "link/device_info.h"

#include <algorithm>

DeviceInfo::Name DeviceInfo::modeName(int mode) const {
    std::lock_guard lock(m_mutex);
    return m_names[static_cast<size_t>(slotOf(mode))];
}

std::string DeviceInfo::modeNameText(int mode) const {
    Name name = modeName(mode);
    std::string text(name.begin(), std::find(name.begin(), name.end(), 0));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

bool DeviceInfo::nameReceived(int mode) const {
    std::lock_guard lock(m_mutex);
    return m_nameReceived[static_cast<size_t>(slotOf(mode))];
}

void DeviceInfo::clearNameReceived(int mode) {
    std::lock_guard lock(m_mutex);
    m_nameReceived[static_cast<size_t>(slotOf(mode))] = false;
}

void DeviceInfo::storeModeName(int mode, const uint8_t* bytes, size_t size) {
    std::lock_guard lock(m_mutex);
    m_staging.fill(0);
    std::copy_n(bytes, std::min<size_t>(size, kNameSize), m_staging.begin());
    auto slot = static_cast<size_t>(slotOf(mode));
    m_names[slot] = m_staging;
    m_nameReceived[slot] = true;
}

DeviceInfo::Name DeviceInfo::staging() const {
    std::lock_guard lock(m_mutex);
    return m_staging;
}

void DeviceInfo::setStaging(const Name& name) {
    std::lock_guard lock(m_mutex);
    m_staging = name;
}

DeviceInfo::Name DeviceInfo::nameOf(const std::string& text) {
    Name name;
    name.fill(' ');
    std::copy_n(text.begin(), std::min<size_t>(text.size(), kNameSize), name.begin());
    return name;
}

DeviceInfo::Id DeviceInfo::deviceId() const {
    std::lock_guard lock(m_mutex);
    return m_id;
}

void DeviceInfo::setDeviceId(const uint8_t* bytes, size_t count) {
    std::lock_guard lock(m_mutex);
    m_id.fill(0);
    std::copy_n(bytes, std::min<size_t>(count, kIdSize), m_id.begin());
}

uint32_t DeviceInfo::deviceIdNumber() const {
    Id id = deviceId();
    return static_cast<uint32_t>(id[0]) << 24 | static_cast<uint32_t>(id[1]) << 16 |
           static_cast<uint32_t>(id[2]) << 8 | id[3];
}

void DeviceInfo::clear() {
    magic = 0;
    version = 0;
    recallConfirmed = false;
    nameReplied = false;
    nameSaved = false;
    command20Confirmed = false;
    command21Confirmed = false;
    upgradeResponse = 0;
    relayBound = false;
    std::lock_guard lock(m_mutex);
    m_names = {};
    m_nameReceived = {};
    m_staging = {};
    m_id = {};
}
