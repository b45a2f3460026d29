#include "sim/sim_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Memory = SimMemory::Memory;

// ---------------------------------------------------------------------------
// The device's value tables, written out independently of the simulator.

// Band frequency grid: a 36th of an octave around 1 kHz, three significant digits.
std::vector<double> frequencyGrid() {
    std::vector<double> f(363);
    for (int i = 0; i < 363; ++i) {
        double x = 1000.0 * std::pow(2.0, (i - 205) / 36.0);
        double unit = std::pow(10.0, std::floor(std::log10(x)) - 2);
        f[i] = std::round(x / unit) * unit;
    }
    f[25] = 31.3;
    f[82] = 94.0;
    f[83] = 95.0;
    f[84] = 97.0;
    f[85] = 99.0;
    f[316] = 8460;
    return f;
}

// Frequency codes of grid positions first..last (position 0 is "off").
std::set<uint16_t> gridCodes(int first, int last) {
    static const std::vector<double> f = frequencyGrid();
    std::set<uint16_t> codes;
    for (int i = first; i <= last; ++i) {
        if (i == 0)
            codes.insert(0x8000);
        else if (f[i] < 100)
            codes.insert(static_cast<uint16_t>(0x8000 + std::lround(f[i] * 10)));
        else
            codes.insert(static_cast<uint16_t>(std::lround(f[i])));
    }
    return codes;
}

std::set<uint16_t> scaled(const std::vector<double>& table, double factor) {
    std::set<uint16_t> codes;
    for (double v : table) codes.insert(static_cast<uint16_t>(std::lround(v * factor)));
    return codes;
}

const std::vector<double> kQTable = {
    0.4,  0.42, 0.45, 0.47, 0.5,  0.53, 0.56, 0.59, 0.63, 0.67, 0.71, 0.75, 0.79, 0.84, 0.89,
    0.94, 1.0,  1.06, 1.12, 1.19, 1.26, 1.3,  1.4,  1.5,  1.6,  1.7,  1.8,  1.9,  2.0,  2.1,
    2.2,  2.4,  2.5,  2.7,  2.8,  3.0,  3.2,  3.4,  3.6,  3.8,  4.0,  4.2,  4.5,  4.8,  5.0,
    5.3,  5.7,  6.0,  6.3,  6.7,  7.1,  7.6,  8.0,  8.5,  9.0,  9.5,  10.1, 10.7, 11.3, 12.0,
    12.7, 13.5, 14,   15,   16,   17,   18,   19,   20,   21,   23,   24,   25,   27,   29,
    30,   32,   34,   36,   38,   40,   43,   45,   48,   51,   54,   57,   60,   64,   68,
    72,   76,   81,   85,   91,   96,   102,  108,  114,  121,  128};

std::vector<double> attackTable() {
    std::vector<double> t = {0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0};
    for (int ms = 2; ms <= 100; ++ms) t.push_back(ms);
    t.push_back(100);
    return t;
}

const std::set<uint16_t> kQCodes = scaled(kQTable, 100);
const std::set<uint16_t> kAttackCodes = scaled(attackTable(), 10);
const std::set<uint16_t> kReleaseCodes = {2, 4, 6, 8, 12, 16, 24, 32};
const std::set<uint16_t> kRatioCodes = {10,  12,  14,  16,  18,  20,  24,  28,  32,  36,  40,
                                        44,  48,  52,  56,  60,  64,  68,  72,  76,  80,  84,
                                        90,  96,  102, 108, 114, 120, 130, 140, 150, 160, 170,
                                        180, 190, 200, 220, 240, 260, 300, 1000};
const std::set<uint16_t> kGateCodes = {0,  3,  4,  5,  6,  7,  8,  9,   10,  11, 13,
                                       14, 16, 18, 23, 29, 41, 65, 103, 184, 327};
const std::set<uint16_t> kBandTypes = {5, 6, 7};
// Slope codes every crossover selector offers (the "USER" ones need a Q slider).
const std::set<uint16_t> kHighPassCodes = {20, 22, 24, 26, 28, 30};
const std::set<uint16_t> kLowPassCodes = {21, 23, 25, 27, 29, 31};
const std::set<uint16_t> kBandFrequencies = gridCodes(1, 362);

// Link table: the right channel of each output pair follows its left partner.
std::vector<std::pair<int, int>> linkTable() {
    std::vector<std::pair<int, int>> pairs;
    for (auto [l, r] : {std::pair{0, 1}, {2, 3}, {6, 7}}) {
        pairs.push_back({17 + l, 17 + r});
        pairs.push_back({9 + l, 9 + r});
        pairs.push_back({1513 + 12 * l, 1513 + 12 * r});
        pairs.push_back({1514 + 12 * l, 1515 + 12 * r});
        pairs.push_back({1516 + 12 * l, 1516 + 12 * r});
        for (int k = 0; k < 4; ++k) pairs.push_back({33 + 4 * l + k, 33 + 4 * r + k});
        for (int k = 0; k < 68; ++k) {
            if (k == 2 || k == 3 || k == 6 || k == 7) continue;
            pairs.push_back({65 + 68 * l + k, 65 + 68 * r + k});
        }
    }
    return pairs;
}

std::string label(int mode) {
    return mode == 0 ? "defaults" : "mode " + std::to_string(mode);
}

Memory memoryOf(int mode) {
    return mode == 0 ? SimMemory::defaults() : SimMemory::mode(mode);
}

// Checks that an equaliser band at index `at` (type, frequency, gain, Q) is valid.
void expectBand(const Memory& m, int at) {
    SCOPED_TRACE("band at " + std::to_string(at));
    EXPECT_TRUE(kBandTypes.count(m[at])) << m[at];
    EXPECT_TRUE(kBandFrequencies.count(m[at + 1])) << m[at + 1];
    EXPECT_GE(m[at + 2], 260);  // -24 dB
    EXPECT_LE(m[at + 2], 620);  // +12 dB
    EXPECT_TRUE(kQCodes.count(m[at + 3])) << m[at + 3];
}

void expectDynamics(const Memory& m, int at) {
    SCOPED_TRACE("dynamics at " + std::to_string(at));
    EXPECT_TRUE(kRatioCodes.count(m[at])) << m[at];
    EXPECT_TRUE(kAttackCodes.count(m[at + 1])) << m[at + 1];
    EXPECT_TRUE(kReleaseCodes.count(m[at + 2])) << m[at + 2];
    EXPECT_GE(m[at + 3], 200);  // -30 dBu
    EXPECT_LE(m[at + 3], 680);  // +18 dBu
}

// A level in percent that becomes 500 + percent while muted.
void expectMutableLevel(uint16_t v) {
    EXPECT_LE(v % 500, 100) << v;
    EXPECT_LT(v, 600) << v;
}

void expectFlag(uint16_t v) {
    EXPECT_LE(v, 1) << v;
}

// Input and effect filter block: bypass, slopes and frequencies, bands.
struct FilterBlock {
    int bypass, highPassCode, highPassFrequency, lowPassCode, lowPassFrequency, bands, bandCount;
    int highPassTop;  // last grid position the high-pass slider reaches
};

void expectFilterBlock(const Memory& m, const FilterBlock& b) {
    SCOPED_TRACE("filter block at " + std::to_string(b.bands));
    expectFlag(m[b.bypass]);
    EXPECT_TRUE(kHighPassCodes.count(m[b.highPassCode])) << m[b.highPassCode];
    EXPECT_TRUE(gridCodes(0, b.highPassTop).count(m[b.highPassFrequency]))
        << m[b.highPassFrequency];
    EXPECT_TRUE(kLowPassCodes.count(m[b.lowPassCode])) << m[b.lowPassCode];
    EXPECT_TRUE(gridCodes(298, 362).count(m[b.lowPassFrequency])) << m[b.lowPassFrequency];
    for (int k = 0; k < b.bandCount; ++k) expectBand(m, b.bands + 4 * k);
}

constexpr FilterBlock kMusic{609, 617, 618, 621, 622, 625, 15, 143};
constexpr FilterBlock kMicA{1257, 1267, 1268, 1271, 1272, 1275, 15, 143};
constexpr FilterBlock kMicB{1258, 1347, 1348, 1351, 1352, 1355, 15, 143};
constexpr FilterBlock kEcho{1438, 1440, 1441, 1444, 1445, 1448, 5, 205};
constexpr FilterBlock kReverb{1439, 1472, 1473, 1476, 1477, 1480, 5, 205};

// ---------------------------------------------------------------------------
// Every memory the device can hold at start: the defaults (0) and modes 1 to 16.

class SimMemoryPages : public ::testing::TestWithParam<int> {
protected:
    Memory m = memoryOf(GetParam());
};

INSTANTIATE_TEST_SUITE_P(AllMemories, SimMemoryPages, ::testing::Range(0, 17),
                         [](const auto& info) {
                             return info.param == 0 ? std::string("Defaults")
                                                    : "Mode" + std::to_string(info.param);
                         });

TEST_P(SimMemoryPages, FixedRoleIndicesHoldTheLinkValues) {
    EXPECT_EQ(m[0], 22356);
    EXPECT_EQ(m[1628], GetParam() == 0 ? 1 : GetParam());
    EXPECT_EQ(m[1629], 0);
    EXPECT_EQ(m[1630], 0);
}

TEST_P(SimMemoryPages, LinkedRightChannelsEqualTheirLeftPartners) {
    auto pairs = linkTable();
    ASSERT_EQ(pairs.size(), 219u);
    for (auto [source, destination] : pairs)
        EXPECT_EQ(m[destination], m[source]) << source << " -> " << destination;
}

TEST_P(SimMemoryPages, OutputEqualisersUseDeviceBandEncodings) {
    for (int n = 0; n < 8; ++n)
        for (int b = 0; b < 15; ++b) expectBand(m, 73 + 68 * n + 4 * b);
}

TEST_P(SimMemoryPages, OutputCrossoversUseOfferedCodesAndGridFrequencies) {
    const std::set<uint16_t> highPassFrequencies = gridCodes(0, 362);
    for (int n = 0; n < 8; ++n) {
        SCOPED_TRACE("channel " + std::to_string(n));
        int block = 65 + 68 * n;
        EXPECT_TRUE(kHighPassCodes.count(m[block])) << m[block];
        EXPECT_TRUE(highPassFrequencies.count(m[block + 1])) << m[block + 1];
        EXPECT_TRUE(kLowPassCodes.count(m[block + 4])) << m[block + 4];
        EXPECT_TRUE(kBandFrequencies.count(m[block + 5])) << m[block + 5];
    }
    // The subwoofer's user Q values: (slider + 4) x 10, slider 0 to 11.
    for (int at : {408, 412}) {
        EXPECT_EQ(m[at] % 10, 0) << at;
        EXPECT_GE(m[at], 40) << at;
        EXPECT_LE(m[at], 150) << at;
    }
}

TEST_P(SimMemoryPages, OutputLevelsDelaysLimitersAndMixesAreInRange) {
    for (int n = 0; n < 8; ++n) {
        SCOPED_TRACE("channel " + std::to_string(n));
        expectFlag(m[1 + n]);  // mute
        expectMutableLevel(m[9 + n]);
        expectFlag(m[17 + n]);      // equaliser enabled
        EXPECT_LE(m[25 + n], 960);  // 20.0 ms at 48 kHz
        expectDynamics(m, 33 + 4 * n);
        for (int k = 0; k < 4; ++k) {
            uint16_t v = m[1513 + 12 * n + k];
            if (v == 0) continue;
            EXPECT_EQ(v & 0xFF, 1) << k;
            EXPECT_GE(v >> 8, 1) << k;
            EXPECT_LE(v >> 8, 100) << k;
        }
    }
}

TEST_P(SimMemoryPages, OutputsPlayAndTheSubwooferTakesTheBass) {
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(m[1 + n], 0) << "channel " << n << " muted";
        EXPECT_GT(m[9 + n], 0) << "channel " << n << " silent";
        EXPECT_LT(m[9 + n], 500) << "channel " << n << " muted";
    }
    // Low-pass of the subwoofer (channel 5) below 100 Hz, high-pass of the
    // front speakers at or above it, so the two meet.
    uint16_t subLowPass = m[65 + 68 * 5 + 5];
    uint16_t frontHighPass = m[65 + 1];
    ASSERT_GT(subLowPass, 0x8000);
    ASSERT_GT(frontHighPass, 0x8000);
    EXPECT_LE(frontHighPass, subLowPass);
}

TEST_P(SimMemoryPages, InputPagesUseDeviceEncodings) {
    expectFilterBlock(m, kMusic);
    expectFilterBlock(m, kMicA);
    expectFilterBlock(m, kMicB);
    expectDynamics(m, 1259);  // MIC A compressor: ratio, attack, release, threshold
    expectDynamics(m, 1263);  // MIC B
    EXPECT_LE(m[1437], 3);    // feedback eliminator
}

TEST_P(SimMemoryPages, EffectPagesUseDeviceEncodings) {
    expectFilterBlock(m, kEcho);
    expectFilterBlock(m, kReverb);
    for (int at : {1429, 1430, 1434, 1435}) expectMutableLevel(m[at]);
    struct Time {
        int index, maxMs;
    };
    for (Time t : {Time{1427, 50}, Time{1428, 50}, Time{1432, 340}, Time{1433, 70}}) {
        EXPECT_EQ(m[t.index] % 48, 0) << t.index;  // whole ms as samples at 48 kHz
        EXPECT_LE(m[t.index], t.maxMs * 48) << t.index;
    }
    EXPECT_LE(m[1431], 90);    // repeat ratio %
    EXPECT_LE(m[1436], 5000);  // reverb time ms
    EXPECT_GT(m[1432], 0);
    EXPECT_GT(m[1436], 0);
}

TEST_P(SimMemoryPages, HeaderAndSystemPageValuesAreValid) {
    for (int at = 1602; at <= 1605; ++at) {
        EXPECT_GE(m[at], 500) << at;
        EXPECT_LE(m[at], 600) << at;
    }
    EXPECT_EQ(m[1605], m[1603]);  // the MIC slider drives both microphones

    struct Limit {
        int volume, start, max;
    };
    for (Limit l : {Limit{1602, 1616, 1615}, Limit{1603, 1612, 1611}, Limit{1605, 1614, 1613},
                    Limit{1604, 1618, 1617}}) {
        EXPECT_LE(m[l.max], 100) << l.max;
        EXPECT_LE(m[l.start], m[l.max]) << l.start;
        EXPECT_LE(m[l.volume] - 500, m[l.max]) << l.volume;
    }

    EXPECT_TRUE((std::set<uint16_t>{1, 2, 3, 4, 6, 7, 8, 9, 10}.count(m[1620]))) << m[1620];
    EXPECT_LE(m[1621], 6);
    EXPECT_TRUE((std::set<int>{1, 8, 9, 11, 12, 13, 17, 21, 22}.count(m[1637] & 0xFF))) << m[1637];
    EXPECT_TRUE((std::set<uint16_t>{3, 11, 7, 15, 1551, 1599}.count(m[1640]))) << m[1640];

    EXPECT_EQ(m[1624], 0);  // key lock off
    EXPECT_TRUE(kGateCodes.count(m[1631])) << m[1631];
    EXPECT_TRUE(kGateCodes.count(m[1633])) << m[1633];
    expectFlag(m[1632]);
    expectFlag(m[1634]);
    EXPECT_LE(m[1635], 16);  // boot mode
    expectFlag(m[1644]);
}

TEST_P(SimMemoryPages, PasswordsAreDigitsPackedInNibbles) {
    auto digits = [](uint32_t v, int count) {
        for (int i = 0; i < count; ++i, v >>= 4)
            if ((v & 0xF) > 9) return false;
        return v == 0;
    };
    EXPECT_TRUE(digits(m[1623], 4)) << m[1623];
    EXPECT_TRUE(digits(uint32_t{m[1625]} << 16 | m[1626], 6)) << m[1625] << " " << m[1626];
}

TEST_P(SimMemoryPages, RoutingCellsAreLevelAndSwitch) {
    for (int r = 0; r < 8; ++r) {
        int on = 0;
        for (int c = 0; c < 8; ++c) {
            uint16_t v = m[1505 + 12 * r + c];
            EXPECT_LE(v >> 8, 100) << r << "," << c;
            EXPECT_LE(v & 0xFF, 1) << r << "," << c;
            on += (v & 0xFF) != 0 && (v >> 8) > 0;
        }
        EXPECT_GE(on, 1) << "output row " << r << " receives nothing";
    }
}

TEST_P(SimMemoryPages, ChannelTestIsSilent) {
    for (int k = 0; k < 8; ++k) {
        EXPECT_TRUE(m[1661 + 2 * k] == 0 || m[1661 + 2 * k] == 30001) << k;
        EXPECT_EQ(m[1662 + 2 * k], 0) << k;
    }
}

// ---------------------------------------------------------------------------
// The modes as a set.

TEST(SimMemoryModes, EveryModeDiffersFromTheDefaultsAndFromEveryOther) {
    std::vector<Memory> memories;
    for (int n = 0; n <= SimMemory::kModes; ++n) {
        Memory m = memoryOf(n);
        m[1628] = 0;  // the current-mode entry alone does not make a setup
        memories.push_back(m);
    }
    for (size_t a = 0; a < memories.size(); ++a)
        for (size_t b = a + 1; b < memories.size(); ++b)
            EXPECT_NE(memories[a], memories[b])
                << label(static_cast<int>(a)) << " and " << label(static_cast<int>(b));
}

TEST(SimMemoryModes, ModesHaveTheirCharacter) {
    Memory base = SimMemory::defaults();
    Memory kSong = SimMemory::mode(1);
    Memory movie = SimMemory::mode(2);
    // "K Song": more echo, louder microphones.
    EXPECT_GT(kSong[1430], base[1430]);
    EXPECT_GT(kSong[1603], base[1603]);
    // "Movie": a stronger subwoofer (channel 5 level and its low-end band).
    EXPECT_GT(movie[9 + 5], base[9 + 5]);
    EXPECT_GT(movie[73 + 68 * 5 + 2], base[73 + 68 * 5 + 2]);
    // Every mode recalls its own current-mode number.
    for (int n = 1; n <= SimMemory::kModes; ++n) EXPECT_EQ(SimMemory::mode(n)[1628], n);
}

TEST(SimMemoryModes, ModeNumbersOutsideOneToSixteenGiveTheDefaults) {
    EXPECT_EQ(SimMemory::mode(0), SimMemory::defaults());
    EXPECT_EQ(SimMemory::mode(17), SimMemory::defaults());
    EXPECT_EQ(SimMemory::mode(-3), SimMemory::defaults());
}

}  // namespace
