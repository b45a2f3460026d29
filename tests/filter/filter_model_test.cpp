#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>

#include "filter/filter_cascade.h"

namespace {

constexpr double kHpMax = 20600;
constexpr double kLpMax = 20600;
constexpr double kHalfPower = -3.0103;  // 20 log10(1 / sqrt 2)

double crossoverAt(int code, double f, double fe, double q = 1.0) {
    return FilterCascade::crossover(code, f, q, kHpMax, kLpMax).levelDb(fe);
}

// Level change over one octave, read an octave apart around fe.
double octaveSlope(int code, double f, double fe) {
    return crossoverAt(code, f, fe) - crossoverAt(code, f, fe / 2);
}

}  // namespace

TEST(SecondOrderSections, HalfPowerAtTheirFrequencyWithPOneHalf) {
    for (double f : {50.0, 1000.0, 12000.0}) {
        EXPECT_NEAR(BiquadSection::hp2(f, 0.5).levelDb(f), kHalfPower, 0.01) << f;
        EXPECT_NEAR(BiquadSection::lp2(f, 0.5).levelDb(f), kHalfPower, 0.01) << f;
        // The user-Q variants take Q itself rather than its square.
        EXPECT_NEAR(BiquadSection::hpu(f, std::sqrt(0.5)).levelDb(f), kHalfPower, 0.01) << f;
        EXPECT_NEAR(BiquadSection::lpu(f, std::sqrt(0.5)).levelDb(f), kHalfPower, 0.01) << f;
    }
    // Q 2 peaks 6 dB at the corner.
    EXPECT_NEAR(BiquadSection::hpu(1000, 2.0).levelDb(1000), 6.02, 0.01);
}

TEST(SecondOrderSections, PassAndStopBands) {
    EXPECT_NEAR(BiquadSection::hp2(100, 0.5).levelDb(10000), 0.0, 0.01);
    EXPECT_NEAR(BiquadSection::lp2(10000, 0.5).levelDb(100), 0.0, 0.01);
    // 12 dB per octave well inside the stop band.
    double hp =
        BiquadSection::hp2(4000, 0.5).levelDb(250) - BiquadSection::hp2(4000, 0.5).levelDb(125);
    EXPECT_NEAR(hp, 12.04, 0.05);
}

TEST(FirstOrderSections, HalfPowerAndSixDbPerOctave) {
    EXPECT_NEAR(BiquadSection::hp1(1000).levelDb(1000), kHalfPower, 0.01);
    EXPECT_NEAR(BiquadSection::lp1(1000).levelDb(1000), kHalfPower, 0.01);
    auto hp1 = BiquadSection::hp1(2000);
    EXPECT_NEAR(hp1.levelDb(62.5) - hp1.levelDb(31.25), 6.02, 0.03);
    EXPECT_EQ(hp1.b2, 0.0);
    EXPECT_EQ(hp1.a2, 0.0);
    auto lp1 = BiquadSection::lp1(100);
    EXPECT_NEAR(lp1.levelDb(1600) - lp1.levelDb(3200), 6.02, 0.1);
}

TEST(Levels, AreTwentyTimesASinglePrecisionLogarithm) {
    for (double fe : {20.0, 333.3, 4321.0, 19999.0}) {
        double level = BiquadSection::peaking(1000, 73, 2.2).levelDb(fe);
        EXPECT_EQ(static_cast<double>(static_cast<float>(level / 20)), level / 20) << fe;
    }
}

TEST(Crossovers, LinkwitzRiley24IsSixDownAndFalls24PerOctave) {
    EXPECT_NEAR(crossoverAt(24, 1000, 1000), -6.02, 0.05);
    EXPECT_NEAR(crossoverAt(25, 1000, 1000), -6.02, 0.05);
    EXPECT_NEAR(octaveSlope(24, 4000, 250), 24.0, 0.3);
    EXPECT_NEAR(octaveSlope(25, 100, 3200), -24.0, 0.5);
    EXPECT_NEAR(crossoverAt(24, 100, 10000), 0.0, 0.01);
}

TEST(Crossovers, FourSectionCodesFall48PerOctave) {
    for (int code : {26, 28, 30}) EXPECT_NEAR(octaveSlope(code, 4000, 200), 48.0, 0.6) << code;
    EXPECT_NEAR(octaveSlope(27, 100, 3200), -48.0, 1.0);
}

TEST(Crossovers, ButterworthIsHalfPowerAtTheCorner) {
    EXPECT_NEAR(crossoverAt(20, 1000, 1000), kHalfPower, 0.05);
    // The eighth-order table values put it a little above the textbook -3.01 dB.
    EXPECT_NEAR(crossoverAt(26, 1000, 1000), kHalfPower, 0.1);
}

TEST(Crossovers, SectionCountsFollowTheCodeTable) {
    auto count = [](int code, double f) {
        return FilterCascade::crossover(code, f, 0.7, kHpMax, kLpMax).sections().size();
    };
    EXPECT_EQ(count(8, 100), 1u);
    EXPECT_EQ(count(15, 10000), 2u);
    EXPECT_EQ(count(22, 100), 2u);
    EXPECT_EQ(count(29, 10000), 4u);
    EXPECT_EQ(count(32, 100), 1u);
    EXPECT_EQ(count(37, 10000), 2u);
    EXPECT_EQ(count(44, 100), 1u);
    EXPECT_EQ(count(52, 100), 4u);
    EXPECT_EQ(count(53, 10000), 3u);
    EXPECT_EQ(count(57, 10000), 3u);
    // Codes 28 and 29 are four identical sections.
    for (int code : {28, 29}) {
        auto cascade = FilterCascade::crossover(code, 500, 0, kHpMax, kLpMax);
        auto s = cascade.sections();
        for (const auto& section : s) EXPECT_EQ(section.b0, s[0].b0);
    }
}

TEST(Crossovers, EvenCodesCutLowsAndOddCodesCutHighs) {
    for (int code = 8; code <= 63; ++code) {
        auto cascade = FilterCascade::crossover(code, 1000, 0.7, kHpMax, kLpMax);
        if (!FilterCascade::hasSections(code)) {
            EXPECT_TRUE(cascade.flat()) << code;
            continue;
        }
        ASSERT_FALSE(cascade.flat()) << code;
        double low = cascade.levelDb(50), high = cascade.levelDb(18000);
        if (code % 2 == 0) {
            EXPECT_LT(low, -20) << code;
            EXPECT_NEAR(high, 0, 0.5) << code;
        } else {
            EXPECT_LT(high, -20) << code;
            EXPECT_NEAR(low, 0, 0.5) << code;
        }
    }
}

TEST(Crossovers, UserQShapesTheUserCodes) {
    EXPECT_NEAR(crossoverAt(32, 1000, 1000, 1.5), 20 * std::log10(1.5), 0.01);
    EXPECT_NEAR(crossoverAt(36, 1000, 1000, 0.4), 2 * 20 * std::log10(0.4), 0.02);
    // Fixed codes ignore it.
    EXPECT_EQ(crossoverAt(24, 1000, 700, 0.4), crossoverAt(24, 1000, 700, 1.5));
}

TEST(Crossovers, FlatCodesAndGating) {
    for (int code : {34, 35, 38, 39, 46, 51, 58, 63, 7, 64, 0, -3, 1000}) {
        auto cascade = FilterCascade::crossover(code, 1000, 1.0, kHpMax, kLpMax);
        EXPECT_TRUE(cascade.flat()) << code;
        for (double fe : {19.0, 1000.0, 20600.0}) EXPECT_EQ(cascade.levelDb(fe), 0.0);
    }
    // High-pass below 19.7 Hz (the pages' "off") or above its maximum is flat.
    EXPECT_TRUE(FilterCascade::crossover(24, 19.0, 1, kHpMax, kLpMax).flat());
    EXPECT_FALSE(FilterCascade::crossover(24, 19.7, 1, kHpMax, kLpMax).flat());
    EXPECT_TRUE(FilterCascade::crossover(24, 5000, 1, 4000, kLpMax).flat());
    EXPECT_FALSE(FilterCascade::crossover(24, 4000, 1, 4000, kLpMax).flat());
    // Low-pass at 20600 Hz is flat; just below it, or with a higher maximum, it is not.
    EXPECT_TRUE(FilterCascade::crossover(25, 20600, 1, kHpMax, kLpMax).flat());
    EXPECT_FALSE(FilterCascade::crossover(25, 20200, 1, kHpMax, kLpMax).flat());
    EXPECT_FALSE(FilterCascade::crossover(25, 20600, 1, kHpMax, 22000).flat());
    EXPECT_FALSE(FilterCascade::crossover(25, 19.0, 1, kHpMax, kLpMax).flat());
}

TEST(Crossovers, MeaninglessParametersDrawFlat) {
    double nan = std::numeric_limits<double>::quiet_NaN();
    double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(FilterCascade::crossover(25, nan, 1, kHpMax, kLpMax).flat());
    EXPECT_TRUE(FilterCascade::crossover(24, inf, 1, kHpMax, inf).flat());
    EXPECT_TRUE(FilterCascade::crossover(25, -100, 1, kHpMax, kLpMax).flat());
    EXPECT_TRUE(FilterCascade::crossover(32, 1000, 0, kHpMax, kLpMax).flat());
    EXPECT_TRUE(FilterCascade::crossover(37, 1000, nan, kHpMax, kLpMax).flat());
    // A fixed code has no use for the user Q, so a bad one does not matter.
    EXPECT_FALSE(FilterCascade::crossover(24, 1000, nan, kHpMax, kLpMax).flat());
}

TEST(Bands, PeakingReachesItsGainAtItsFrequency) {
    EXPECT_NEAR(FilterCascade::band(7, 1000, 60, 1.41).levelDb(1000), 6.0, 0.005);
    EXPECT_NEAR(FilterCascade::band(7, 100, -240, 4.0).levelDb(100), -24.0, 0.005);
    EXPECT_NEAR(FilterCascade::band(7, 1000, 60, 1.41).levelDb(20), 0.0, 0.01);
    // Any type other than the shelves is peaking.
    EXPECT_EQ(FilterCascade::band(0, 1000, 60, 1.41).levelDb(900),
              FilterCascade::band(7, 1000, 60, 1.41).levelDb(900));
}

// Narrow bands low down, against the transfer function evaluated directly in
// extended precision: at its own frequency a peaking band reads its gain.
TEST(Bands, HighQBandsAtLowFrequenciesReadTheirExactLevel) {
    struct Case {
        int type;
        double f, tenths, q, fe;
    };
    const Case cases[] = {
        {7, 19.7, -120, 128, 19.7},  {7, 25.3, -240, 64, 25.3}, {7, 40.1, 120, 128, 40.1},
        {7, 19.7, -120, 128, 19.75}, {7, 31.0, 150, 100, 30.9}, {6, 22.0, -240, 20, 21.0},
    };
    for (const Case& c : cases) {
        auto cascade = FilterCascade::band(c.type, c.f, c.tenths, c.q);
        const BiquadSection& s = cascade.sections()[0];
        using Complex = std::complex<long double>;
        long double w = BiquadSection::omega(c.fe);
        Complex z1 = std::polar(1.0L, -w), z2 = std::polar(1.0L, -2 * w);
        auto poly = [&](long double x0, long double x1, long double x2) {
            return x0 + x1 * z1 + x2 * z2;
        };
        Complex h = poly(s.b0, s.b1, s.b2) / poly(1, s.a1, s.a2);
        double expected = c.fe == c.f ? c.tenths / 10 : double(20 * std::log10(std::abs(h)));
        EXPECT_NEAR(cascade.levelDb(c.fe), expected, 1e-4) << c.f << " Hz Q " << c.q;
    }
}

TEST(Bands, ZeroGainIsFlatForEveryType) {
    for (int type : {0, 5, 6, 7, 99}) {
        auto cascade = FilterCascade::band(type, 1000, 0, 2.5);
        for (double fe = 19; fe < 20600; fe *= 1.3) EXPECT_EQ(cascade.levelDb(fe), 0.0) << type;
    }
}

TEST(Bands, ShelvesApproachTheirGainAtTheFarEnd) {
    auto high = FilterCascade::band(5, 1000, 120, 0.71);
    EXPECT_NEAR(high.levelDb(23900), 12.0, 0.3);
    EXPECT_NEAR(high.levelDb(20), 0.0, 0.05);
    EXPECT_NEAR(high.levelDb(1000), 6.0, 0.1);  // halfway at the corner
    auto low = FilterCascade::band(6, 1000, 120, 0.71);
    EXPECT_NEAR(low.levelDb(20), 12.0, 0.05);
    EXPECT_NEAR(low.levelDb(23900), 0.0, 0.3);
    auto cut = FilterCascade::band(6, 200, -240, 0.71);
    EXPECT_NEAR(cut.levelDb(19), -24.0, 0.2);
}

TEST(Bands, ShelfSlopeStopsGrowingAboveQTwo) {
    // Above Q 2 the shelf uses a fixed slope, so Q 2.5 and Q 100 are the same.
    auto a = FilterCascade::band(5, 1000, 120, 2.5).levelDb(1400);
    auto b = FilterCascade::band(5, 1000, 120, 100).levelDb(1400);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, FilterCascade::band(5, 1000, 120, 2.0).levelDb(1400));
    EXPECT_NE(a, FilterCascade::band(5, 1000, 120, 1.0).levelDb(1400));
}

TEST(Bands, MeaninglessParametersDrawFlat) {
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(FilterCascade::band(7, nan, 60, 1).flat());
    EXPECT_TRUE(FilterCascade::band(7, 1000, nan, 1).flat());
    EXPECT_TRUE(FilterCascade::band(5, 1000, 60, 0).flat());
    EXPECT_TRUE(FilterCascade::band(6, 0, 60, 1).flat());
}
