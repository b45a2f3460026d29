#include "link/transports/relay_packet.h"

#include <algorithm>
#include <utility>

#include "files/crc16.h"
#include "link/transports/module_packet.h"
#include "link/transports/net_envelope.h"

namespace {
void seal(std::vector<uint8_t>& p) {
    uint16_t crc = crc16Modbus(p.data(), p.size());
    p.push_back(static_cast<uint8_t>(crc >> 8));
    p.push_back(static_cast<uint8_t>(crc));
}
}  // namespace

std::optional<uint16_t> RelayPacket::Reply::status() const {
    if (command != Status || arguments.size() < 2) return std::nullopt;
    return static_cast<uint16_t>(arguments[0] | arguments[1] << 8);
}

std::optional<uint32_t> RelayPacket::Reply::acknowledgement() const {
    if (command != OpenChannel || arguments.size() < 4) return std::nullopt;
    uint32_t n = NetEnvelope::getU32Le(arguments.data());
    if (n == 0) return std::nullopt;
    return n;
}

std::optional<RelayPacket::Block> RelayPacket::Reply::block() const {
    if ((command != DeviceInfo && command != ServerList) || arguments.size() < 64)
        return std::nullopt;
    Block b{};
    for (size_t k = 0; k < b.size(); ++k) b[k] = NetEnvelope::getU32Le(arguments.data() + 4 * k);
    return b;
}

std::vector<uint8_t> RelayPacket::control(const ClientId& client,
                                          const std::vector<uint8_t>& payload) {
    size_t total = payload.size() + 12;
    std::vector<uint8_t> p;
    p.reserve(total);
    for (uint8_t b : {uint8_t{0x72}, uint8_t{0x85}, static_cast<uint8_t>(total),
                      static_cast<uint8_t>(total >> 8), uint8_t{'T'}, uint8_t{'W'}})
        p.push_back(b);
    for (uint8_t b : client) p.push_back(b);
    for (uint8_t b : payload) p.push_back(b);
    seal(p);
    return p;
}

std::vector<uint8_t> RelayPacket::openChannel(const ClientId& client, uint32_t channel) {
    std::vector<uint8_t> payload{OpenChannel};
    NetEnvelope::putU32Le(payload, channel);
    return control(client, payload);
}

std::vector<uint8_t> RelayPacket::closeChannel(const ClientId& client, uint32_t channel) {
    std::vector<uint8_t> payload{CloseChannel};
    NetEnvelope::putU32Le(payload, channel);
    payload.push_back(5);
    payload.push_back(0);
    return control(client, payload);
}

std::vector<uint8_t> RelayPacket::deviceInfo(const ClientId& client, uint32_t deviceId) {
    std::vector<uint8_t> payload{DeviceInfo};
    NetEnvelope::putU32Le(payload, deviceId);
    return control(client, payload);
}

std::optional<RelayPacket::Reply> RelayPacket::parseReply(const uint8_t* data, size_t size) {
    if (size < kMinReply || data[0] != 0x72 || data[1] != 0x85) return std::nullopt;
    size_t total = data[2] | size_t{data[3]} << 8;
    // The command byte and the CRC must both lie inside the stated length.
    if (total < kCommandOffset + 3 || total > size) return std::nullopt;
    uint16_t crc = static_cast<uint16_t>(data[total - 2] << 8 | data[total - 1]);
    if (crc16Modbus(data, total - 2) != crc) return std::nullopt;
    Reply r;
    r.command = data[kCommandOffset];
    std::copy(data + 6, data + 10, r.client.begin());
    r.arguments.assign(data + kCommandOffset + 1, data + total - 2);
    return r;
}

std::vector<uint8_t> RelayPacket::data(const Block& block, const uint8_t* frame, size_t size) {
    // The stated length is the frame's plus 22: one byte more than the
    // fields, so a zero byte pads the frame before the CRC.
    size_t total = size + 22;
    std::vector<uint8_t> p{'%', 'E', static_cast<uint8_t>(total), static_cast<uint8_t>(total >> 8)};
    NetEnvelope::putU32Le(p, block[Valid]);
    p.push_back(static_cast<uint8_t>(block[Route]));
    p.push_back(static_cast<uint8_t>(block[Route] >> 8));
    std::vector<uint8_t> envelope = NetEnvelope::wrap(block[Channel], frame, size);
    p.insert(p.end(), envelope.begin(), envelope.end());
    p.resize(total);
    ModulePacket::seal(p);
    return p;
}

std::optional<std::pair<size_t, size_t>> RelayPacket::framesFor(const uint8_t* data, size_t size,
                                                                const ClientId& client) {
    for (const ModulePacket::Found& f : ModulePacket::scan(data, size)) {
        if (f.start != 0 || f.size < kDataOffset + 2) continue;
        if (!std::equal(client.begin(), client.end(), data + 10)) return std::nullopt;
        return std::make_pair(kDataOffset, f.size - kDataOffset - 2);
    }
    return std::nullopt;
}

uint32_t RelayPacket::number(const ClientId& client) {
    return NetEnvelope::getU32Le(client.data());
}

void RelayPacket::putBlock(std::vector<uint8_t>& out, const Block& block) {
    for (uint32_t n : block) NetEnvelope::putU32Le(out, n);
}
