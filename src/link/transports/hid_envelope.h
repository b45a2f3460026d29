#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The envelope that carries a frame over USB: AE 1E, the frame length (two
// bytes, high first), C8, then the frame; cut into 65-byte reports with the
// report identifier 0 in front and zero padding in the last.
class HidEnvelope {
public:
    static constexpr size_t kHeaderSize = 5;
    static constexpr size_t kReportPayload = 64;

    static std::vector<uint8_t> wrap(const uint8_t* frame, size_t size);
    // Whole 65-byte reports, one after the other.
    static std::vector<uint8_t> reports(const uint8_t* frame, size_t size);
    static bool startsEnvelope(const uint8_t* data, size_t size) {
        return size >= kHeaderSize && data[0] == 0xAE && data[1] == 0x1E && data[4] == 0xC8;
    }
};
