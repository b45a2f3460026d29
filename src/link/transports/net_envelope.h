#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The envelope in which a frame travels to the Wi-Fi module over TCP (and
// inside relay data packets): 0xAE 0x1E, total length = frame + 9 (big-endian),
// 0xC8, a 32-bit ID least significant byte first, the frame.
class NetEnvelope {
public:
    static constexpr size_t kHeaderSize = 9;

    static std::vector<uint8_t> wrap(uint32_t id, const uint8_t* frame, size_t size);

    struct Opened {
        uint32_t id;
        size_t frameStart;
        size_t frameSize;
        size_t size;  // the whole envelope
    };
    // The envelope at the start of the bytes, when they hold it whole.
    static std::optional<Opened> open(const uint8_t* data, size_t size);

    static void putU32Le(std::vector<uint8_t>& out, uint32_t v);
    static uint32_t getU32Le(const uint8_t* p);
};
