#pragma once

#include <array>
#include <cstdint>

// The relay client ID: the processor's signature and feature words (eight
// bytes, least significant first) folded into four by exclusive-or.
class ClientId {
public:
    using Bytes = std::array<uint8_t, 4>;

    static Bytes fold(const std::array<uint8_t, 8>& bytes);
    static Bytes fold(uint32_t signature, uint32_t features);
    // This machine's; on processors without the identification leaf, a
    // value made from the host's identity instead.
    static Bytes ofThisMachine();
};
