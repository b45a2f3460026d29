#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <set>
#include <vector>

#include "files/preset_codec.h"

namespace {

constexpr size_t kFullCount = 1746;

// The format's CRC as it is described: bit by bit, reflected 0xA001.
uint16_t bitwiseCrc(const std::vector<uint8_t>& p, size_t size) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= p[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    return crc;
}

void putLe32(std::vector<uint8_t>& p, size_t at, uint32_t v) {
    for (size_t k = 0; k < 4; ++k) p[at + k] = static_cast<uint8_t>(v >> (8 * k));
}

uint32_t getLe32(const std::vector<uint8_t>& p, size_t at) {
    uint32_t v = 0;
    for (size_t k = 0; k < 4; ++k) v |= static_cast<uint32_t>(p[at + k]) << (8 * k);
    return v;
}

std::vector<int32_t> sampleValues(size_t n, uint32_t seed = 7) {
    std::mt19937 random(seed);
    std::vector<int32_t> values(n);
    for (auto& v : values) v = static_cast<int32_t>(random() & 0xFFFF);
    if (!values.empty()) values[0] = 22356;
    return values;
}

// A file assembled from the format description alone, independent of the encoder.
std::vector<uint8_t> handBuiltFile(const std::vector<int32_t>& values, uint32_t magic,
                                   const std::array<uint8_t, 20>& alphabet, uint8_t password = 0) {
    const size_t n = values.size();
    std::vector<uint8_t> p(516 + 2 * n, 0x5A);
    std::copy(alphabet.begin(), alphabet.end(), p.begin() + 20);
    putLe32(p, 256, 512);
    putLe32(p, 266, static_cast<uint32_t>(n));
    putLe32(p, 276, magic);
    putLe32(p, 286, 0);
    p[296] = password;
    putLe32(p, 301, 0);
    const uint32_t stamp[6] = {2024, 5, 17, 13, 45, 9};
    for (size_t i = 0; i < 6; ++i) putLe32(p, 306 + 5 * i, stamp[i]);
    putLe32(p, 341, static_cast<uint32_t>(n));
    putLe32(p, 351, 1);
    for (size_t k = 0; k < n; ++k) {
        p[512 + 2 * k] = static_cast<uint8_t>(values[k]);
        p[513 + 2 * k] = static_cast<uint8_t>(values[k] >> 8);
    }
    uint16_t crc = bitwiseCrc(p, 512 + 2 * n);
    p[512 + 2 * n] = static_cast<uint8_t>(crc);
    p[513 + 2 * n] = static_cast<uint8_t>(crc >> 8);
    p[514 + 2 * n] = 0;
    p[515 + 2 * n] = 0;
    std::vector<uint8_t> f(p.begin(), p.begin() + 256);
    for (size_t j = 256; j < p.size(); ++j) {
        f.push_back(alphabet[p[j] >> 4]);
        f.push_back(alphabet[p[j] & 0x0F]);
    }
    f.push_back(0x00);
    f.push_back(0xFF);
    return f;
}

// Undoes the nibble encoding the way the format describes it.
std::vector<uint8_t> plainImage(const std::vector<uint8_t>& f) {
    std::vector<uint8_t> p(f.begin(), f.begin() + 256);
    auto nibble = [&](uint8_t b) {
        auto at = std::find(f.begin() + 20, f.begin() + 36, b);
        return static_cast<uint8_t>(at == f.begin() + 36 ? 15 : at - (f.begin() + 20));
    };
    for (size_t i = 256; i + 1 < f.size(); i += 2)
        p.push_back(static_cast<uint8_t>(nibble(f[i]) << 4 | nibble(f[i + 1])));
    return p;
}

std::vector<uint8_t> encodeSample(const std::vector<int32_t>& values, uint32_t seed = 1) {
    PresetRecord record;
    record.deviceMagic = 22356;
    record.timeStamp = {2025, 1, 2, 3, 4, 5};
    record.values = values;
    std::mt19937 random(seed);
    return PresetCodec::encode(record, random);
}

bool decodes(const std::vector<uint8_t>& bytes) {
    PresetRecord r;
    // An exactly sized copy, so that a read past the end is caught by the sanitizers.
    std::vector<uint8_t> copy(bytes);
    return PresetCodec::decode(copy.data(), copy.size(), r);
}

}  // namespace

TEST(PresetFormat, HandBuiltFileOfAnotherWriterDecodes) {
    const std::array<uint8_t, 20> alphabet = {0x91, 0x02, 0xE7, 0x33, 0x4C, 0xB5, 0x6A,
                                              0x17, 0xF8, 0x29, 0xDA, 0x8B, 0x5C, 0x7D,
                                              0xCE, 0x0F, 0x10, 0x21, 0x42, 0x63};
    std::vector<int32_t> values = sampleValues(kFullCount);
    std::vector<uint8_t> file = handBuiltFile(values, 22356, alphabet, 1);
    ASSERT_EQ(file.size(), 7762u);

    PresetRecord r;
    ASSERT_TRUE(PresetCodec::decode(file.data(), file.size(), r));
    EXPECT_EQ(r.headerLength, 512u);
    EXPECT_EQ(r.valueCount, kFullCount);
    EXPECT_EQ(r.deviceMagic, 22356u);
    EXPECT_EQ(r.passwordMark, 1);
    EXPECT_EQ(r.formatMark, 1u);
    EXPECT_EQ(r.timeStamp, (std::array<uint32_t, 6>{2024, 5, 17, 13, 45, 9}));
    EXPECT_EQ(r.values, values);
}

TEST(PresetFormat, EncoderFollowsTheLayout) {
    std::vector<int32_t> values = sampleValues(kFullCount);
    std::vector<uint8_t> f = encodeSample(values);
    ASSERT_EQ(f.size(), PresetCodec::fileSize(kFullCount));
    ASSERT_EQ(f.size(), 7762u);

    std::set<uint8_t> alphabet(f.begin() + 20, f.begin() + 40);
    EXPECT_EQ(alphabet.size(), 20u) << "the alphabet holds 20 different bytes";
    std::set<uint8_t> used(f.begin() + 20, f.begin() + 36);
    for (size_t i = 256; i < f.size(); ++i) EXPECT_TRUE(used.count(f[i])) << "byte " << i;

    std::vector<uint8_t> p = plainImage(f);
    EXPECT_EQ(getLe32(p, 256), 512u);
    EXPECT_EQ(getLe32(p, 266), kFullCount);
    EXPECT_EQ(getLe32(p, 276), 22356u);
    EXPECT_EQ(getLe32(p, 286), 0u);
    EXPECT_EQ(p[296], 0);
    EXPECT_EQ(getLe32(p, 301), 0u);
    const uint32_t stamp[6] = {2025, 1, 2, 3, 4, 5};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(getLe32(p, 306 + 5 * i), stamp[i]);
    EXPECT_EQ(getLe32(p, 341), kFullCount);
    EXPECT_EQ(getLe32(p, 351), 1u);
    for (size_t k = 0; k < kFullCount; ++k)
        ASSERT_EQ(p[512 + 2 * k] | p[513 + 2 * k] << 8, values[k]) << "value " << k;
    uint16_t crc = bitwiseCrc(p, 512 + 2 * kFullCount);
    EXPECT_EQ(p[512 + 2 * kFullCount], crc & 0xFF);
    EXPECT_EQ(p[513 + 2 * kFullCount], crc >> 8);
    EXPECT_EQ(p[514 + 2 * kFullCount], 0);
    EXPECT_EQ(p[515 + 2 * kFullCount], 0);
}

TEST(PresetFormat, RoundTripKeepsEveryFieldForAnyCount) {
    for (size_t n : {size_t{0}, size_t{1}, size_t{25}, kFullCount, size_t{4000}}) {
        PresetRecord record;
        record.deviceMagic = 0x12345678;
        record.reserved1 = 7;
        record.reserved2 = 0xFFFFFFFF;
        record.passwordMark = 1;
        record.timeStamp = {1999, 12, 31, 23, 59, 58};
        record.values = sampleValues(n, static_cast<uint32_t>(n));
        std::mt19937 random(static_cast<uint32_t>(n));
        std::vector<uint8_t> f = PresetCodec::encode(record, random);
        ASSERT_EQ(f.size(), PresetCodec::fileSize(n));

        PresetRecord r;
        ASSERT_TRUE(PresetCodec::decode(f.data(), f.size(), r)) << n;
        EXPECT_EQ(r.valueCount, n);
        EXPECT_EQ(r.deviceMagic, record.deviceMagic);
        EXPECT_EQ(r.reserved1, record.reserved1);
        EXPECT_EQ(r.reserved2, record.reserved2);
        EXPECT_EQ(r.passwordMark, 1);
        EXPECT_EQ(r.timeStamp, record.timeStamp);
        EXPECT_EQ(r.values, record.values);
    }
}

TEST(PresetFormat, SameValuesGiveDifferentFilesThatBothDecode) {
    std::vector<int32_t> values = sampleValues(kFullCount);
    std::vector<uint8_t> a = encodeSample(values, 1);
    std::vector<uint8_t> b = encodeSample(values, 2);
    EXPECT_NE(a, b);
    EXPECT_FALSE(std::equal(a.begin() + 20, a.begin() + 36, b.begin() + 20)) << "alphabets differ";
    EXPECT_NE(plainImage(a)[512 + 2 * kFullCount] | plainImage(a)[513 + 2 * kFullCount] << 8,
              plainImage(b)[512 + 2 * kFullCount] | plainImage(b)[513 + 2 * kFullCount] << 8)
        << "the random head changes the CRC";
    PresetRecord ra, rb;
    ASSERT_TRUE(PresetCodec::decode(a.data(), a.size(), ra));
    ASSERT_TRUE(PresetCodec::decode(b.data(), b.size(), rb));
    EXPECT_EQ(ra.values, values);
    EXPECT_EQ(rb.values, values);
}

TEST(PresetFormat, EveryChangedByteUpToTheCrcIsRejected) {
    std::vector<uint8_t> f = encodeSample(sampleValues(kFullCount));
    const size_t covered = f.size() - 2;  // the two trailing bytes carry nothing
    for (size_t i = 0; i < covered; ++i) {
        for (uint8_t mask : {uint8_t{0x01}, uint8_t{0x80}, uint8_t{0xFF}}) {
            std::vector<uint8_t> damaged = f;
            damaged[i] ^= mask;
            PresetRecord r;
            ASSERT_FALSE(PresetCodec::decode(damaged.data(), damaged.size(), r))
                << "byte " << i << " xor " << int(mask);
        }
    }
}

TEST(PresetFormat, TruncatedAtAnyLengthIsRejected) {
    std::vector<uint8_t> f = encodeSample(sampleValues(kFullCount));
    for (size_t size = 0; size < f.size() - 2; ++size) {
        std::vector<uint8_t> cut(f.begin(), f.begin() + static_cast<long>(size));
        ASSERT_FALSE(decodes(cut)) << size;
    }
    std::vector<uint8_t> withoutTrailer(f.begin(), f.end() - 2);
    EXPECT_TRUE(decodes(withoutTrailer)) << "the trailing bytes are not part of the content";
}

TEST(PresetFormat, PaddingAfterTheContentIsIgnored) {
    std::vector<int32_t> values = sampleValues(kFullCount);
    std::vector<uint8_t> f = encodeSample(values);
    for (size_t extra : {size_t{1}, size_t{2}, size_t{3}, size_t{1000}}) {
        std::vector<uint8_t> padded = f;
        padded.insert(padded.end(), extra, 0xEE);
        PresetRecord r;
        ASSERT_TRUE(PresetCodec::decode(padded.data(), padded.size(), r)) << extra;
        EXPECT_EQ(r.values, values);
    }
}

TEST(PresetFormat, HeaderThatPointsOutsideTheFileIsRejected) {
    const std::array<uint8_t, 20> alphabet = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                              10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    // A file whose count claims more values than it holds, with a CRC that
    // would match if the reader trusted the count and read on.
    std::vector<uint8_t> f = handBuiltFile(sampleValues(10), 22356, alphabet);
    auto setCount = [&](std::vector<uint8_t>& file, uint32_t count) {
        for (size_t k = 0; k < 4; ++k) {
            uint8_t b = static_cast<uint8_t>(count >> (8 * k));
            file[256 + 2 * (266 - 256 + k)] = alphabet[b >> 4];
            file[257 + 2 * (266 - 256 + k)] = alphabet[b & 0x0F];
        }
    };
    for (uint32_t count : {11u, 12u, 1000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        std::vector<uint8_t> bad = f;
        setCount(bad, count);
        EXPECT_FALSE(decodes(bad)) << count;
    }
    std::vector<uint8_t> bigHeader = f;
    for (size_t k = 0; k < 4; ++k) {
        uint8_t b = static_cast<uint8_t>(0xFFFFFF00u >> (8 * k));
        bigHeader[256 + 2 * k] = alphabet[b >> 4];
        bigHeader[257 + 2 * k] = alphabet[b & 0x0F];
    }
    EXPECT_FALSE(decodes(bigHeader));
}

TEST(PresetFormat, RandomBytesAreRejected) {
    std::mt19937 random(99);
    for (size_t size :
         {size_t{0}, size_t{255}, size_t{256}, size_t{600}, size_t{7762}, size_t{20000}}) {
        for (int round = 0; round < 50; ++round) {
            std::vector<uint8_t> junk(size);
            for (auto& b : junk) b = static_cast<uint8_t>(random());
            ASSERT_FALSE(decodes(junk)) << size;
        }
    }
}

TEST(PresetFormat, FailedDecodeLeavesTheRecordAsItWas) {
    PresetRecord r;
    r.deviceMagic = 99;
    r.values = {1, 2, 3};
    std::vector<uint8_t> f = encodeSample(sampleValues(kFullCount));
    f[4000] ^= 0x01;
    EXPECT_FALSE(PresetCodec::decode(f.data(), f.size(), r));
    EXPECT_EQ(r.deviceMagic, 99u);
    EXPECT_EQ(r.values, (std::vector<int32_t>{1, 2, 3}));
}
