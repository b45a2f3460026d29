// Parses any datagram as a relay server reply and as relay data: a reply is
// accepted only whole with its CRC, its fields read within it, and the frames
// of a data packet lie inside the datagram.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "files/crc16.h"
#include "link/transports/relay_packet.h"

namespace {
void check(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (auto reply = RelayPacket::parseReply(data, size)) {
        size_t total = data[2] | size_t{data[3]} << 8;
        check(size >= RelayPacket::kMinReply && total <= size);
        check(crc16Modbus(data, total - 2) == (data[total - 2] << 8 | data[total - 1]));
        check(reply->arguments.size() + RelayPacket::kCommandOffset + 3 == total);
        reply->status();
        reply->acknowledgement();
        reply->block();
    }
    if (auto frames = RelayPacket::framesFor(data, size, {1, 2, 3, 4}))
        check(frames->first + frames->second <= size);
    return 0;
}
