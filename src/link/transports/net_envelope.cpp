#include "link/transports/net_envelope.h"

std::vector<uint8_t> NetEnvelope::wrap(uint32_t id, const uint8_t* frame, size_t size) {
    size_t total = size + kHeaderSize;
    std::vector<uint8_t> e{0xAE, 0x1E, static_cast<uint8_t>(total >> 8),
                           static_cast<uint8_t>(total), 0xC8};
    putU32Le(e, id);
    e.insert(e.end(), frame, frame + size);
    return e;
}

std::optional<NetEnvelope::Opened> NetEnvelope::open(const uint8_t* data, size_t size) {
    if (size < kHeaderSize || data[0] != 0xAE || data[1] != 0x1E || data[4] != 0xC8)
        return std::nullopt;
    size_t total = size_t{data[2]} << 8 | data[3];
    if (total < kHeaderSize || total > size) return std::nullopt;
    return Opened{getU32Le(data + 5), kHeaderSize, total - kHeaderSize, total};
}

void NetEnvelope::putU32Le(std::vector<uint8_t>& out, uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

uint32_t NetEnvelope::getU32Le(const uint8_t* p) {
    return p[0] | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
