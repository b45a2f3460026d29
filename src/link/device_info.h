#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

// What the device has told about itself: Hello words, device ID, the names of
// its sixteen stored modes, and the flags by which jobs see their replies.
class DeviceInfo {
public:
    static constexpr int kModes = 16;
    static constexpr int kNameSize = 25;
    static constexpr int kIdSize = 20;
    using Name = std::array<uint8_t, kNameSize>;
    using Id = std::array<uint8_t, kIdSize>;

    std::atomic<uint16_t> magic{0};
    std::atomic<uint16_t> version{0};
    std::atomic<bool> recallConfirmed{false};
    std::atomic<bool> nameReplied{false};
    std::atomic<bool> nameSaved{false};
    std::atomic<bool> command20Confirmed{false};
    std::atomic<bool> command21Confirmed{false};
    std::atomic<uint32_t> upgradeResponse{0};
    std::atomic<bool> relayBound{false};

    // Mode 1 to 16 (other numbers select (n - 1) modulo 16, as the device reply does).
    Name modeName(int mode) const;
    std::string modeNameText(int mode) const;  // trailing spaces and zeros cut
    bool nameReceived(int mode) const;
    void clearNameReceived(int mode);
    void storeModeName(int mode, const uint8_t* bytes, size_t size);

    // The 25-byte buffer that a name is staged in before it is saved.
    Name staging() const;
    void setStaging(const Name& name);
    void setStagingText(const std::string& text) { setStaging(nameOf(text)); }
    // A name as the staging buffer holds it: the first 25 bytes, padded with spaces.
    static Name nameOf(const std::string& text);

    Id deviceId() const;
    void setDeviceId(const uint8_t* bytes, size_t count);  // zero-filled to 20
    // The first four ID bytes as a big-endian number (0 when unknown).
    uint32_t deviceIdNumber() const;

    void clear();

    static int slotOf(int mode) { return ((mode - 1) % kModes + kModes) % kModes; }

private:
    mutable std::mutex m_mutex;
    std::array<Name, kModes> m_names{};
    std::array<bool, kModes> m_nameReceived{};
    Name m_staging{};
    Id m_id{};
};
