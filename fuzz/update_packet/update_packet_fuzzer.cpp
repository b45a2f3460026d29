// Scans any datagram for update packets: every packet found lies inside the
// input, carries its own length and CRC, and its fields read within it. The
// same bytes as an update manifest either are refused or read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "files/crc16.h"
#include "update/update_manifest.h"
#include "update/update_packet.h"

namespace {
void check(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t previousEnd = 0;
    for (const UpdatePacket& p : UpdatePacket::scan(data, size)) {
        const std::vector<uint8_t>& b = p.bytes;
        check(b.size() >= UpdatePacket::kMinSize && p.end <= size &&
              p.end >= previousEnd + b.size());
        check(static_cast<size_t>(b[2] << 8 | b[3]) == b.size());
        check(crc16Modbus(b.data(), b.size() - 2) == (b[b.size() - 2] << 8 | b[b.size() - 1]));
        check(p.token().size() <= b.size());
        if (auto id = p.machineId()) check(b.size() >= 22);
        if (auto n = p.downloadSize()) check(*n < (uint64_t{1} << 40));
        previousEnd = p.end;
    }
    if (auto manifest = UpdateManifest::parse(data, size)) {
        const std::string text = manifest->text();
        auto again =
            UpdateManifest::parse(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        check(again && *again == *manifest && manifest->sha256.size() == 32);
    }
    return 0;
}
