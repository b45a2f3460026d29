#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The content of one preset file: its header fields and the parameter values.
struct PresetRecord {
    static constexpr uint32_t kHeaderLength = 512;
    static constexpr uint32_t kFormatMark = 1;

    uint32_t headerLength = kHeaderLength;
    uint32_t valueCount = 0;  // as stored; equals values.size() in a record that was read
    uint32_t deviceMagic = 0;
    uint32_t reserved1 = 0;
    uint32_t reserved2 = 0;
    uint8_t passwordMark = 0;  // 1: protected, never to be sent to a device
    // Year, month, day, hour, minute, second.
    std::array<uint32_t, 6> timeStamp{};
    uint32_t formatMark = kFormatMark;
    // Parameter index k holds value k, zero-extended from 16 bits.
    std::vector<int32_t> values;
};
