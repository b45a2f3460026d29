#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "files/preset_record.h"

// The byte layout of a preset file. A 256-byte head of random bytes carries a
// 20-byte alphabet at offset 20; everything after the head is written as two
// alphabet bytes per byte (its high and low nibble). The header fields sit
// between random bytes, the values follow from the header length on, and a
// CRC-16 over all of it (random bytes included) ends the content.
class PresetCodec {
public:
    static constexpr size_t kHeadSize = 256;
    static constexpr size_t kAlphabetAt = 20;
    static constexpr size_t kAlphabetSize = 20;

    // File bytes for n values: 778 + 4n.
    static constexpr size_t fileSize(size_t n) { return 778 + 4 * n; }

    // The file bytes for record; its valueCount is ignored in favour of values.size().
    static std::vector<uint8_t> encode(const PresetRecord& record, std::mt19937& random);

    // False when the bytes are no intact preset file: too short for their
    // header, a header length or count that points outside the data, a byte
    // outside the alphabet before the end of the CRC, or a CRC that does not
    // match. Never reads outside [data, data + size); `out` is
    // only changed on success.
    static bool decode(const uint8_t* data, size_t size, PresetRecord& out);

    // Why bytes are no intact preset file, for a message that says so.
    enum class Damage { None, TooShort, ForeignBytes, Truncated, ChecksumMismatch, TooLarge };
    static bool decode(const uint8_t* data, size_t size, PresetRecord& out, Damage& damage);
};
