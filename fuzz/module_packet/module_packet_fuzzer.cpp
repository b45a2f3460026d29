// Scans any TCP chunk for module packets: every packet found lies inside the
// chunk, after the one before, carries its own length and CRC; what goes to
// the frame parser lies inside the chunk.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "files/crc16.h"
#include "link/transports/module_packet.h"

namespace {
void check(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t previousEnd = 0;
    for (const ModulePacket::Found& p : ModulePacket::scan(data, size)) {
        check(p.start >= previousEnd && p.size >= ModulePacket::kMinSize && p.start + p.size <= size);
        const uint8_t* b = data + p.start;
        check(b[0] == '%' && b[1] == 'E' && (b[2] | size_t{b[3]} << 8) == p.size);
        check(crc16Modbus(b, p.size - 2) == (b[p.size - 2] << 8 | b[p.size - 1]));
        previousEnd = p.start + p.size;
    }
    for (auto [start, count] : ModulePacket::carried(data, size)) check(start + count <= size);
    return 0;
}
