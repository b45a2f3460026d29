// Any bytes given to the preset reader: no crash, no read outside the input,
// and whatever it accepts survives being written and read again unchanged.
// Seed corpus: corpus/ (one small valid file). libFuzzer adds what it finds to
// the first folder it is given, so give it a scratch folder first.
#include <cstdlib>
#include <random>

#include "files/preset_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PresetRecord record;
    if (!PresetCodec::decode(data, size, record)) return 0;
    if (record.values.size() != record.valueCount) std::abort();

    std::mt19937 random(static_cast<uint32_t>(size));
    std::vector<uint8_t> again = PresetCodec::encode(record, random);
    PresetRecord copy;
    if (!PresetCodec::decode(again.data(), again.size(), copy)) std::abort();
    if (copy.values != record.values || copy.deviceMagic != record.deviceMagic ||
        copy.passwordMark != record.passwordMark || copy.timeStamp != record.timeStamp)
        std::abort();
    return 0;
}
