#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class Command : uint8_t {
    Hello = 0x00,
    RecallMode = 0x01,
    WriteParameters = 0x03,
    ReadModeName = 0x04,
    ReadParameters = 0x06,
    ReadDeviceId = 0x0E,
    SaveModeName = 0x10,
    Command20 = 0x20,
    Command21 = 0x21,
    RelayBind = 0x54,
    DeviceNotice = 0x55,
    ModuleText = 0x57,
    BulkRead = 0xF0,
    UpgradeFinish = 0xFC,
    UpgradeStart = 0xFE,
    UpgradeBlock = 0xFF,
};

// Frame layout: start byte, length L (bytes after the length byte), command,
// payload, CRC-16/MODBUS over the first L bytes sent high byte first.
class Frame {
public:
    static constexpr uint8_t kStart = 0x80;
    static constexpr uint8_t kStartAlt = 0x81;  // accepted on receive
    static constexpr size_t kMaxShortPayload = 249;

    // A whole frame; payloads of 250 bytes or more carry 255 as their length byte.
    static std::vector<uint8_t> build(Command command, const uint8_t* payload, size_t size);
    static std::vector<uint8_t> build(Command command, const std::vector<uint8_t>& payload) {
        return build(command, payload.data(), payload.size());
    }
    static std::vector<uint8_t> build(uint8_t command, const uint8_t* payload, size_t size);

    static void putU16(std::vector<uint8_t>& out, uint16_t v) {
        out.push_back(static_cast<uint8_t>(v >> 8));
        out.push_back(static_cast<uint8_t>(v));
    }
    static uint16_t getU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
};
