#include "filter/frequency_table.h"

#include <array>
#include <cmath>

namespace {

constexpr double kBandLow = FrequencyTable::kBandMinimum;
constexpr double kGridOff = 19.3;
constexpr double kSnapLow = 19.0;

// What the three tables share from their second entry on: about
// 1000 * 2^((i - 205) / 36) Hz to three digits, with a few points moved.
constexpr std::array<double, FrequencyTable::kSize - 1> kCommon = {
    19.7,  20.1,  20.5,  20.9,  21.3,  21.7,  22.1,  22.5,  23.0,  23.4,  23.9,  24.3,  24.8,
    25.3,  25.8,  26.3,  26.8,  27.3,  27.8,  28.4,  28.9,  29.5,  30.1,  30.7,  31.3,  31.9,
    32.5,  33.1,  33.8,  34.4,  35.1,  35.8,  36.5,  37.2,  37.9,  38.6,  39.4,  40.1,  40.9,
    41.7,  42.5,  43.4,  44.2,  45.1,  45.9,  46.8,  47.7,  48.7,  49.6,  50.6,  51.6,  52.6,
    53.6,  54.6,  55.7,  56.8,  57.9,  59.0,  60.1,  61.3,  62.5,  63.7,  65.0,  66.2,  67.5,
    68.8,  70.2,  71.5,  72.9,  74.3,  75.8,  77.2,  78.7,  80.3,  81.8,  83.4,  85.0,  86.7,
    88.4,  90.1,  91.9,  94.0,  95.0,  97.0,  99.0,  101,   103,   105,   107,   109,   111,
    114,   116,   118,   120,   123,   125,   127,   130,   132,   135,   138,   140,   143,
    146,   149,   152,   154,   157,   161,   164,   167,   170,   173,   177,   180,   184,
    187,   191,   195,   198,   202,   206,   210,   214,   218,   223,   227,   231,   236,
    241,   245,   250,   255,   260,   265,   270,   275,   281,   286,   292,   297,   303,
    309,   315,   321,   327,   334,   340,   347,   354,   360,   367,   375,   382,   389,
    397,   405,   412,   420,   429,   437,   445,   454,   463,   472,   481,   490,   500,
    510,   520,   530,   540,   551,   561,   572,   583,   595,   606,   618,   630,   642,
    655,   667,   680,   694,   707,   721,   735,   749,   764,   779,   794,   809,   825,
    841,   857,   874,   891,   908,   926,   944,   962,   981,   1000,  1020,  1040,  1060,
    1080,  1100,  1120,  1140,  1170,  1190,  1210,  1240,  1260,  1280,  1310,  1330,  1360,
    1390,  1410,  1440,  1470,  1500,  1530,  1560,  1590,  1620,  1650,  1680,  1710,  1750,
    1780,  1820,  1850,  1890,  1920,  1960,  2000,  2040,  2080,  2120,  2160,  2200,  2240,
    2290,  2330,  2380,  2420,  2470,  2520,  2570,  2620,  2670,  2720,  2770,  2830,  2880,
    2940,  3000,  3050,  3110,  3170,  3240,  3300,  3360,  3430,  3500,  3560,  3630,  3700,
    3780,  3850,  3920,  4000,  4080,  4160,  4240,  4320,  4400,  4490,  4580,  4670,  4760,
    4850,  4940,  5040,  5140,  5240,  5340,  5440,  5550,  5660,  5770,  5880,  5990,  6110,
    6230,  6350,  6470,  6600,  6730,  6860,  6990,  7130,  7270,  7410,  7550,  7700,  7850,
    8000,  8160,  8310,  8460,  8640,  8810,  8980,  9150,  9330,  9510,  9700,  9890,  10100,
    10300, 10500, 10700, 10900, 11100, 11300, 11500, 11800, 12000, 12200, 12500, 12700, 12900,
    13200, 13500, 13700, 14000, 14300, 14500, 14800, 15100, 15400, 15700, 16000, 16300, 16600,
    17000, 17300, 17600, 18000, 18300, 18700, 19000, 19400, 19800, 20200, 20600,
};

template <size_t N>
constexpr std::array<double, N> build(double low, bool repeatTop) {
    std::array<double, N> t{};
    t[0] = low;
    for (size_t i = 1; i < FrequencyTable::kSize; ++i) t[i] = kCommon[i - 1];
    if (repeatTop) t[N - 1] = FrequencyTable::kMaximum;
    return t;
}

constexpr auto kBand = build<FrequencyTable::kSize>(kBandLow, false);
constexpr auto kGrid = build<FrequencyTable::kSize>(kGridOff, false);
constexpr auto kSnap = build<FrequencyTable::kSnapSize>(kSnapLow, true);

static_assert(kBand[FrequencyTable::kLast] == FrequencyTable::kMaximum);
static_assert(kGrid[205] == 1000.0 && kGrid[298] == 5990.0);

double fromCodeIfCode(double x) {
    return x >= FrequencyTable::kOffCode ? (x - FrequencyTable::kOffCode) / 10 : x;
}

int roundedIndex(double index) {
    if (!std::isfinite(index)) return 0;
    return static_cast<int>(std::trunc(index + 0.5));
}

}  // namespace

SortedTable FrequencyTable::band() {
    return SortedTable(kBand);
}
SortedTable FrequencyTable::grid() {
    return SortedTable(kGrid);
}
SortedTable FrequencyTable::snap() {
    return SortedTable(kSnap);
}

int FrequencyTable::gridIndex(double x) {
    return grid().indexOf(x);
}

double FrequencyTable::gridFrequency(double index) {
    int i = roundedIndex(index) % kSize;
    if (i < 0) i += kSize;
    return kGrid[static_cast<size_t>(i)];
}

int FrequencyTable::upperGridIndex(double x) {
    // Above the grid the top index, not the frequency itself: an index that
    // large would read far beyond the table.
    return gridIndex(x) - kUpperBase;
}

double FrequencyTable::upperGridFrequency(double index) {
    long i = static_cast<long>(kUpperBase) + roundedIndex(index);
    if (i < 0) i = 0;
    if (i > kLast) i = kLast;
    return kGrid[static_cast<size_t>(i)];
}

double FrequencyTable::snapToGrid(double x) {
    x = fromCodeIfCode(x);
    if (std::isnan(x) || x < kMinimum) return kGridOff;
    return kGrid[static_cast<size_t>(gridIndex(x))];
}

uint16_t FrequencyTable::frequencyCode(double x) {
    x = fromCodeIfCode(x);
    if (std::isnan(x) || x < kMinimum) return kOffCode;
    return codeOf(kGrid[static_cast<size_t>(gridIndex(x))]);
}

uint16_t FrequencyTable::codeOf(double frequency) {
    if (std::isnan(frequency) || frequency <= 0) return kOffCode;
    if (frequency < 100) return static_cast<uint16_t>(kOffCode + std::lround(frequency * 10));
    if (frequency >= kOffCode) return kOffCode - 1;
    return static_cast<uint16_t>(std::lround(frequency));
}

double FrequencyTable::frequencyOfCode(uint16_t code) {
    if (code < kOffCode) return code;
    return (code - kOffCode) / 10.0;
}
