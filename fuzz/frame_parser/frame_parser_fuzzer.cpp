// Feeds the frame parser any byte stream at any chunking and timing, and
// checks that it stays within its buffer and leaves the mirror consistent.
//
// Input: records of [control][length][length bytes]. Control bits 0-5 step
// the clock by that many times 10 ms before the chunk (so the 400 ms rule
// fires now and then), bit 6 appends a valid CRC to the chunk (so that whole
// frames are easy to reach), bit 7 sets the awaiting-reply flag.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "files/crc16.h"
#include "link/device_info.h"
#include "link/frame.h"
#include "link/frame_parser.h"
#include "link/link_state.h"
#include "link/mirror.h"
#include "support/manual_clock.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ManualClock clock;
    LinkState state;
    Mirror mirror;
    DeviceInfo device;
    FrameParser parser(clock, state, mirror, device);
    size_t textBytes = 0;
    parser.setModuleTextSink([&](const uint8_t* text, size_t n) {
        check(n <= 252);
        for (size_t k = 0; k < n; ++k) textBytes += text[k] != 0;
    });
    parser.setDeviceIdSink([](uint32_t number) { check(number != 0); });

    // Marks for the write acknowledgements to find.
    for (int i = 0; i < Mirror::kSize; i += 7) mirror.setPending(i, static_cast<uint16_t>(i));

    size_t at = 0;
    while (at + 2 <= size) {
        uint8_t control = data[at];
        size_t length = data[at + 1];
        at += 2;
        length = std::min(length, size - at);
        std::vector<uint8_t> chunk(data + at, data + at + length);
        at += length;
        if (control & 0x40) Frame::putU16(chunk, crc16Modbus(chunk.data(), chunk.size()));

        clock.advance(10u * (control & 0x3F));
        state.awaitingReply = (control & 0x80) ? 1 : 0;
        parser.parse(chunk.data(), chunk.size());
        state.replySemaphore.tryAcquire();
        check(parser.buffered() <= FrameParser::kBufferSize);
    }

    check(mirror.countReceived() <= Mirror::kSize);
    check(mirror.countPending() <= Mirror::kSize);
    check(mirror.value(Mirror::kSize) == 0 && !mirror.pending(Mirror::kSize));
    for (int p = 1; p <= DeviceInfo::kModes; ++p)
        check(device.modeName(p).size() == DeviceInfo::kNameSize);
    return 0;
}
