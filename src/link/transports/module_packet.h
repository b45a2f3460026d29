#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// Packets that the Wi-Fi module sends over TCP (and the relay server over
// UDP): "%E", total length (least significant byte first), six bytes of
// addressing, the carried data, CRC-16/MODBUS over everything before it.
class ModulePacket {
public:
    static constexpr size_t kMinSize = 10;
    static constexpr size_t kDataOffset = 10;
    using Addressing = std::array<uint8_t, 6>;

    struct Found {
        size_t start;  // of the packet in the scanned bytes
        size_t size;   // the whole packet, CRC included
        // The carried data: from kDataOffset up to the CRC (may be empty).
        size_t dataStart() const { return start + kDataOffset; }
        size_t dataSize() const { return size >= kDataOffset + 2 ? size - kDataOffset - 2 : 0; }
    };

    // Every valid packet in the bytes, in order, none overlapping; a length
    // that runs past the bytes or a wrong CRC is no packet.
    static std::vector<Found> scan(const uint8_t* data, size_t size);
    // What of a received chunk goes to the frame parser, as {start, size}:
    // the data of every packet in it, or the whole chunk when it holds none
    // (plain frames).
    static std::vector<std::pair<size_t, size_t>> carried(const uint8_t* data, size_t size);
    static std::vector<uint8_t> build(const Addressing& addressing, const uint8_t* data,
                                      size_t size);
    // The CRC of the first size - 2 bytes, written into the last two.
    static void seal(std::vector<uint8_t>& packet);
};
