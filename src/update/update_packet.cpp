#include "update/update_packet.h"

#include <algorithm>

#include "files/crc16.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

constexpr uint8_t kMagic0 = 0x51;  // "Qz"
constexpr uint8_t kMagic1 = 0x7A;
constexpr size_t kHead = 5;
constexpr size_t kCrc = 2;
constexpr size_t kIdOffset = 12;
constexpr size_t kTokenOffset = 20;
constexpr size_t kSizeOffset = 6;
constexpr size_t kSizeBytes = 5;
// The number the about box shows after "-V4."
constexpr uint16_t kBuildNumber = 12010;

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

}  // namespace

std::vector<uint8_t> UpdatePacket::build(uint8_t command, const std::vector<uint8_t>& payload) {
    const size_t length = kHead + payload.size() + kCrc;
    std::vector<uint8_t> out = {kMagic0, kMagic1, static_cast<uint8_t>(length >> 8),
                                static_cast<uint8_t>(length), command};
    out.insert(out.end(), payload.begin(), payload.end());
    uint16_t crc = crc16Modbus(out.data(), out.size());
    out.push_back(static_cast<uint8_t>(crc >> 8));
    out.push_back(static_cast<uint8_t>(crc));
    return out;
}

std::vector<UpdatePacket> UpdatePacket::scan(const uint8_t* data, size_t size) {
    std::vector<UpdatePacket> found;
    size_t i = 0;
    while (i + kMinSize <= size) {
        if (data[i] != kMagic0 || data[i + 1] != kMagic1) {
            ++i;
            continue;
        }
        const size_t length = static_cast<size_t>(data[i + 2]) << 8 | data[i + 3];
        if (length < kMinSize || length > size - i) {
            ++i;
            continue;
        }
        const uint16_t crc = crc16Modbus(data + i, length - kCrc);
        if (crc != (data[i + length - 2] << 8 | data[i + length - 1])) {
            ++i;
            continue;
        }
        UpdatePacket packet;
        packet.command = data[i + 4];
        packet.bytes.assign(data + i, data + i + length);
        packet.end = i + length;
        found.push_back(std::move(packet));
        i += length;
    }
    return found;
}

std::vector<uint8_t> UpdatePacket::versionQuery(uint32_t fileVersion, const MachineId& machine) {
    std::vector<uint8_t> payload = {0x00};
    putU32(payload, fileVersion);
    payload.push_back(static_cast<uint8_t>(kBuildNumber >> 8));
    payload.push_back(static_cast<uint8_t>(kBuildNumber));
    payload.insert(payload.end(), machine.begin(), machine.end());
    return build(kVersionQuery, payload);
}

std::vector<uint8_t> UpdatePacket::downloadRequest(const std::vector<uint8_t>& token) {
    std::vector<uint8_t> payload = {0x00};
    payload.insert(payload.end(), token.begin(), token.end());
    return build(kDownloadRequest, payload);
}

std::optional<UpdatePacket::MachineId> UpdatePacket::machineId() const {
    if (bytes.size() < kTokenOffset + kCrc) return std::nullopt;
    MachineId id;
    std::copy_n(bytes.begin() + kIdOffset, id.size(), id.begin());
    return id;
}

std::vector<uint8_t> UpdatePacket::token() const {
    if (bytes.size() <= kTokenOffset + kCrc) return {};
    return std::vector<uint8_t>(bytes.begin() + kTokenOffset, bytes.end() - kCrc);
}

std::optional<uint64_t> UpdatePacket::downloadSize() const {
    if (bytes.size() < kSizeOffset + kSizeBytes + kCrc) return std::nullopt;
    uint64_t size = 0;
    for (size_t k = 0; k < kSizeBytes; ++k) size = size << 8 | bytes[kSizeOffset + k];
    return size;
}

UpdatePacket::MachineId UpdatePacket::thisMachine() {
    MachineId id{};
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
        for (int k = 0; k < 4; ++k) {
            id[static_cast<size_t>(k)] = static_cast<uint8_t>(eax >> (8 * k));
            id[static_cast<size_t>(4 + k)] = static_cast<uint8_t>(edx >> (8 * k));
        }
    }
#endif
    return id;
}
