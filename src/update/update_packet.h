#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The packets of the software-update exchange: magic "Qz", total length L
// (CRC included, big-endian), command, payload, CRC-16/MODBUS over the first
// L - 2 bytes, high byte first.
struct UpdatePacket {
    static constexpr uint8_t kVersionQuery = 0;
    static constexpr uint8_t kVersionAnswer = 1;
    static constexpr uint8_t kDownloadRequest = 38;
    static constexpr uint8_t kDownloadStart = 39;
    static constexpr size_t kMinSize = 7;
    using MachineId = std::array<uint8_t, 8>;

    uint8_t command = 0;
    std::vector<uint8_t> bytes;  // the whole packet

    static std::vector<uint8_t> build(uint8_t command, const std::vector<uint8_t>& payload);
    // Every packet that lies wholly inside the data and whose CRC matches, in order.
    static std::vector<UpdatePacket> scan(const uint8_t* data, size_t size);
    // Where the bytes after the packet begin in the scanned data (for a
    // download start: the first bytes of the file).
    size_t end = 0;

    // The program's file version is major * 65536 + minor.
    static std::vector<uint8_t> versionQuery(uint32_t fileVersion, const MachineId& machine);
    static std::vector<uint8_t> downloadRequest(const std::vector<uint8_t>& token);

    // Of a version answer.
    bool updateAvailable() const { return bytes.size() > 5 && bytes[5] == 1; }
    std::optional<MachineId> machineId() const;
    std::vector<uint8_t> token() const;
    // Of a download start: the 40-bit size of the file that follows.
    std::optional<uint64_t> downloadSize() const;

    // The processor's signature and feature words where it offers them, else zeros.
    static MachineId thisMachine();
};
