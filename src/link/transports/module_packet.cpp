#include "link/transports/module_packet.h"

#include "files/crc16.h"

std::vector<ModulePacket::Found> ModulePacket::scan(const uint8_t* data, size_t size) {
    std::vector<Found> found;
    size_t at = 0;
    while (at + 4 <= size) {
        if (data[at] != '%' || data[at + 1] != 'E') {
            ++at;
            continue;
        }
        size_t length = data[at + 2] | size_t{data[at + 3]} << 8;
        if (length >= kMinSize && length <= size - at) {
            const uint8_t* p = data + at;
            uint16_t crc = static_cast<uint16_t>(p[length - 2] << 8 | p[length - 1]);
            if (crc16Modbus(p, length - 2) == crc) {
                found.push_back(Found{at, length});
                at += length;
                continue;
            }
        }
        ++at;
    }
    return found;
}

std::vector<std::pair<size_t, size_t>> ModulePacket::carried(const uint8_t* data, size_t size) {
    std::vector<Found> packets = scan(data, size);
    if (packets.empty()) return {{0, size}};
    std::vector<std::pair<size_t, size_t>> parts;
    for (const Found& p : packets)
        if (p.dataSize() > 0) parts.emplace_back(p.dataStart(), p.dataSize());
    return parts;
}

std::vector<uint8_t> ModulePacket::build(const Addressing& addressing, const uint8_t* data,
                                         size_t size) {
    size_t total = kDataOffset + size + 2;
    std::vector<uint8_t> p{'%', 'E', static_cast<uint8_t>(total), static_cast<uint8_t>(total >> 8)};
    p.insert(p.end(), addressing.begin(), addressing.end());
    p.insert(p.end(), data, data + size);
    p.resize(total);
    seal(p);
    return p;
}

void ModulePacket::seal(std::vector<uint8_t>& packet) {
    if (packet.size() < 2) return;
    uint16_t crc = crc16Modbus(packet.data(), packet.size() - 2);
    packet[packet.size() - 2] = static_cast<uint8_t>(crc >> 8);
    packet[packet.size() - 1] = static_cast<uint8_t>(crc);
}
