#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "filter/frequency_table.h"
#include "filter/q_table.h"

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}

TEST(FrequencyTables, ShapeAndSharedEntries) {
    auto band = FrequencyTable::band(), grid = FrequencyTable::grid(),
         snap = FrequencyTable::snap();
    ASSERT_EQ(band.size(), 363);
    ASSERT_EQ(grid.size(), 363);
    ASSERT_EQ(snap.size(), 364);
    EXPECT_EQ(band[0], 10.5);
    EXPECT_EQ(grid[0], 19.3);
    EXPECT_EQ(snap[0], 19.0);
    EXPECT_EQ(snap[363], 20600);
    for (int i = 1; i < 363; ++i) {
        EXPECT_EQ(band[i], grid[i]);
        EXPECT_EQ(snap[i], grid[i]);
        EXPECT_LT(grid[i - 1], grid[i]) << i;
    }
    EXPECT_EQ(grid[1], 19.7);
    EXPECT_EQ(grid[205], 1000);
    EXPECT_EQ(grid[298], 5990);
    EXPECT_EQ(grid[361], 20200);
    EXPECT_EQ(grid[362], 20600);
}

TEST(FrequencyTables, EntriesFollowA36thOfAnOctaveToThreeDigits) {
    auto grid = FrequencyTable::grid();
    for (int i = 0; i < 363; ++i) {
        double exact = 1000 * std::pow(2.0, (i - 205) / 36.0);
        EXPECT_NEAR(grid[i] / exact, 1.0, 0.005) << i;
        double unit = std::pow(10.0, std::floor(std::log10(grid[i])) - 2);
        EXPECT_NEAR(std::remainder(grid[i], unit), 0.0, 1e-9) << i;
    }
    // The points that sit off the plain rounding.
    EXPECT_EQ(grid[25], 31.3);
    EXPECT_EQ(grid[82], 94.0);
    EXPECT_EQ(grid[85], 99.0);
    EXPECT_EQ(grid[86], 101);
    EXPECT_EQ(grid[316], 8460);
}

TEST(FrequencyTables, GridConversions) {
    EXPECT_EQ(FrequencyTable::gridIndex(1000.0), 205);
    EXPECT_EQ(FrequencyTable::gridIndex(999.9), 205);
    EXPECT_EQ(FrequencyTable::gridIndex(30000), 362);
    EXPECT_EQ(FrequencyTable::gridIndex(0), 0);
    EXPECT_EQ(FrequencyTable::gridFrequency(205.4), 1000);
    EXPECT_EQ(FrequencyTable::gridFrequency(362.6), 19.3);  // wraps around
    EXPECT_EQ(FrequencyTable::gridFrequency(-2), 20600);
    EXPECT_EQ(FrequencyTable::gridFrequency(kNaN), 19.3);
    EXPECT_EQ(FrequencyTable::upperGridIndex(5990), 0);
    EXPECT_EQ(FrequencyTable::upperGridIndex(30000), 64);
    EXPECT_EQ(FrequencyTable::upperGridFrequency(0), 5990);
    EXPECT_EQ(FrequencyTable::upperGridFrequency(64), 20600);
    EXPECT_EQ(FrequencyTable::upperGridFrequency(1e9), 20600);
    EXPECT_EQ(FrequencyTable::snapToGrid(19.0), 19.3);
    EXPECT_EQ(FrequencyTable::snapToGrid(1005), 1020);
    EXPECT_EQ(FrequencyTable::snapToGrid(33021), 25.3);
    EXPECT_EQ(FrequencyTable::snapToGrid(25000), 20600);
    EXPECT_EQ(FrequencyTable::snapToGrid(kNaN), 19.3);
}

TEST(FrequencyTables, FrequencyCodes) {
    EXPECT_EQ(FrequencyTable::frequencyCode(19.0), 32768);
    EXPECT_EQ(FrequencyTable::frequencyCode(19.7), 32768 + 197);
    EXPECT_EQ(FrequencyTable::frequencyCode(50.0), 33274);
    EXPECT_EQ(FrequencyTable::frequencyCode(5000), 5040);
    EXPECT_EQ(FrequencyTable::frequencyCode(99.5), 101);
    EXPECT_EQ(FrequencyTable::frequencyCode(33021), 33021);
    EXPECT_EQ(FrequencyTable::frequencyCode(25000), 20600);
    EXPECT_EQ(FrequencyTable::frequencyCode(40000), 735);  // read as a code: 723.2 Hz
    EXPECT_EQ(FrequencyTable::frequencyCode(kNaN), 32768);
    EXPECT_EQ(FrequencyTable::codeOf(99), 33758);
    EXPECT_EQ(FrequencyTable::codeOf(25.3), 33021);
    EXPECT_EQ(FrequencyTable::codeOf(101), 101);
    EXPECT_EQ(FrequencyTable::codeOf(20600), 20600);
    EXPECT_EQ(FrequencyTable::codeOf(-5), 32768);
    EXPECT_EQ(FrequencyTable::codeOf(1e12), 32767);
    EXPECT_EQ(FrequencyTable::frequencyOfCode(33021), 25.3);
    EXPECT_EQ(FrequencyTable::frequencyOfCode(101), 101);
    EXPECT_EQ(FrequencyTable::frequencyOfCode(32768), 0);
    // Every grid point survives a round trip through its code.
    auto grid = FrequencyTable::grid();
    for (int i = 1; i < 363; ++i) {
        EXPECT_EQ(FrequencyTable::frequencyOfCode(FrequencyTable::codeOf(grid[i])), grid[i]) << i;
    }
}

TEST(QTableTest, EntriesAndSnapping) {
    auto q = QTable::table();
    ASSERT_EQ(q.size(), 101);
    EXPECT_EQ(q[0], 0.4);
    EXPECT_EQ(q[16], 1.0);
    EXPECT_EQ(q[100], 128);
    for (int i = 1; i < q.size(); ++i) EXPECT_LT(q[i - 1], q[i]) << i;
    EXPECT_EQ(QTable::snap(1.1), 1.12);
    EXPECT_EQ(QTable::snap(200), 128);
    EXPECT_EQ(QTable::snap(0.1), 0.4);
    EXPECT_EQ(QTable::snap(0.44), 0.45);
    EXPECT_EQ(QTable::snap(kNaN), 0.4);
    EXPECT_EQ(QTable::entry(-5), 0.4);
    EXPECT_EQ(QTable::entry(500), 128);
}

TEST(SortedTableTest, QuantisingWithSteps) {
    auto band = FrequencyTable::band();
    EXPECT_EQ(band.quantise(99.5), 101);
    EXPECT_EQ(band.quantise(15), 19.7);
    EXPECT_EQ(band.quantise(0), 10.5);
    EXPECT_EQ(band.quantise(-40), 10.5);
    EXPECT_EQ(band.quantise(19.7, -1), 10.5);
    EXPECT_EQ(band.quantise(10.5, -1), 10.5);
    EXPECT_EQ(band.quantise(20600, +1), 20600);
    EXPECT_EQ(band.quantise(1e9), 20600);
    EXPECT_EQ(band.quantise(1000, +1), 1020);
    EXPECT_EQ(band.quantise(kNaN), 10.5);
    EXPECT_EQ(QTable::table().quantise(128, +1), 128);
    EXPECT_EQ(band.firstNotBelow(20601), -1);
}
