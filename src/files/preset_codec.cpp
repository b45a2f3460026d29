#include "files/preset_codec.h"

#include <algorithm>
#include <array>

#include "files/crc16.h"

namespace {

// Offsets in the decoded content.
constexpr size_t kHeaderLengthAt = 256;
constexpr size_t kCountAt = 266;
constexpr size_t kMagicAt = 276;
constexpr size_t kReserved1At = 286;
constexpr size_t kPasswordAt = 296;
constexpr size_t kReserved2At = 301;
constexpr size_t kTimeStampAt = 306;
constexpr size_t kTimeStampStep = 5;
constexpr size_t kCountAgainAt = 341;
constexpr size_t kFormatAt = 351;
constexpr size_t kCrcSize = 4;
// Every fixed header field lies below this.
constexpr size_t kHeaderFieldsEnd = PresetRecord::kHeaderLength;

uint8_t randomByte(std::mt19937& random) {
    return static_cast<uint8_t>(random() & 0xFF);
}

void putLe32(std::vector<uint8_t>& p, size_t at, uint32_t v) {
    for (size_t k = 0; k < 4; ++k) p[at + k] = static_cast<uint8_t>(v >> (8 * k));
}

uint32_t getLe32(const std::vector<uint8_t>& p, size_t at) {
    uint32_t v = 0;
    for (size_t k = 0; k < 4; ++k) v |= static_cast<uint32_t>(p[at + k]) << (8 * k);
    return v;
}

// 20 different random bytes.
void fillAlphabet(std::vector<uint8_t>& p, std::mt19937& random) {
    std::array<bool, 256> used{};
    size_t kept = 0;
    while (kept < PresetCodec::kAlphabetSize) {
        uint8_t b = randomByte(random);
        if (used[b]) continue;
        used[b] = true;
        p[PresetCodec::kAlphabetAt + kept++] = b;
    }
}

void storeHeader(std::vector<uint8_t>& p, const PresetRecord& r, uint32_t n) {
    putLe32(p, kHeaderLengthAt, PresetRecord::kHeaderLength);
    putLe32(p, kCountAt, n);
    putLe32(p, kMagicAt, r.deviceMagic);
    putLe32(p, kReserved1At, r.reserved1);
    p[kPasswordAt] = r.passwordMark;
    putLe32(p, kReserved2At, r.reserved2);
    for (size_t i = 0; i < r.timeStamp.size(); ++i)
        putLe32(p, kTimeStampAt + kTimeStampStep * i, r.timeStamp[i]);
    putLe32(p, kCountAgainAt, n);
    putLe32(p, kFormatAt, PresetRecord::kFormatMark);
}

}  // namespace

std::vector<uint8_t> PresetCodec::encode(const PresetRecord& record, std::mt19937& random) {
    const size_t n = record.values.size();
    const size_t valuesAt = PresetRecord::kHeaderLength;
    const size_t crcAt = valuesAt + 2 * n;
    std::vector<uint8_t> p(crcAt + kCrcSize);
    for (size_t i = 0; i < valuesAt; ++i) p[i] = randomByte(random);
    storeHeader(p, record, static_cast<uint32_t>(n));
    fillAlphabet(p, random);
    for (size_t k = 0; k < n; ++k) {
        auto v = static_cast<uint16_t>(record.values[k]);
        p[valuesAt + 2 * k] = static_cast<uint8_t>(v);
        p[valuesAt + 2 * k + 1] = static_cast<uint8_t>(v >> 8);
    }
    putLe32(p, crcAt, crc16Modbus(p.data(), crcAt));

    const uint8_t* alphabet = p.data() + kAlphabetAt;
    std::vector<uint8_t> file(p.begin(), p.begin() + kHeadSize);
    file.reserve(fileSize(n));
    auto putEncoded = [&](uint8_t b) {
        file.push_back(alphabet[b >> 4]);
        file.push_back(alphabet[b & 0x0F]);
    };
    for (size_t j = kHeadSize; j < p.size(); ++j) putEncoded(p[j]);
    putEncoded(randomByte(random));  // the two trailing bytes carry nothing
    return file;
}

bool PresetCodec::decode(const uint8_t* data, size_t size, PresetRecord& out) {
    Damage damage = Damage::None;
    return decode(data, size, out, damage);
}

bool PresetCodec::decode(const uint8_t* data, size_t size, PresetRecord& out, Damage& damage) {
    auto damaged = [&damage](Damage why) {
        damage = why;
        return false;
    };
    damage = Damage::None;
    if (size < kHeadSize) return damaged(Damage::TooShort);
    const size_t decodedSize = kHeadSize + (size - kHeadSize) / 2;
    if (decodedSize < kHeaderFieldsEnd) return damaged(Damage::TooShort);

    // Writers encode every byte up to the CRC with the first 16 alphabet
    // bytes, so any other byte there is damage; what follows the CRC is not
    // covered and may hold anything.
    constexpr uint8_t kForeign = 0xFF;
    std::array<uint8_t, 256> nibble;
    nibble.fill(kForeign);
    for (size_t k = 16; k-- > 0;) nibble[data[kAlphabetAt + k]] = static_cast<uint8_t>(k);

    std::vector<uint8_t> p(data, data + kHeadSize);
    p.resize(decodedSize);
    size_t firstForeign = decodedSize;
    for (size_t j = kHeadSize, i = kHeadSize; j < decodedSize; ++j, i += 2) {
        uint8_t high = nibble[data[i]];
        uint8_t low = nibble[data[i + 1]];
        if ((high | low) == kForeign && firstForeign == decodedSize) firstForeign = j;
        p[j] = static_cast<uint8_t>((high & 0x0F) << 4 | (low & 0x0F));
    }

    const uint64_t headerLength = getLe32(p, kHeaderLengthAt);
    const uint64_t n = getLe32(p, kCountAt);
    const uint64_t crcAt = headerLength + 2 * n;
    if (crcAt + kCrcSize > decodedSize) return damaged(Damage::Truncated);
    if (firstForeign < crcAt + kCrcSize) return damaged(Damage::ForeignBytes);
    const auto crcSize = static_cast<size_t>(crcAt);
    if (getLe32(p, crcSize) != crc16Modbus(p.data(), crcSize))
        return damaged(Damage::ChecksumMismatch);

    PresetRecord r;
    r.headerLength = static_cast<uint32_t>(headerLength);
    r.valueCount = static_cast<uint32_t>(n);
    r.formatMark = getLe32(p, kFormatAt);
    r.deviceMagic = getLe32(p, kMagicAt);
    r.reserved1 = getLe32(p, kReserved1At);
    r.reserved2 = getLe32(p, kReserved2At);
    r.passwordMark = p[kPasswordAt];
    for (size_t i = 0; i < r.timeStamp.size(); ++i)
        r.timeStamp[i] = getLe32(p, kTimeStampAt + kTimeStampStep * i);
    r.values.resize(static_cast<size_t>(n));
    const size_t valuesAt = static_cast<size_t>(headerLength);
    for (size_t k = 0; k < r.values.size(); ++k)
        r.values[k] = static_cast<int32_t>(p[valuesAt + 2 * k] | p[valuesAt + 2 * k + 1] << 8);
    out = std::move(r);
    return true;
}
