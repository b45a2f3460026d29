#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "filter/band_fitter.h"
#include "filter/frequency_table.h"
#include "filter/lattice_polish.h"
#include "filter/q_table.h"
#include "support/synthetic_room.h"

namespace {

struct Case {
    uint64_t room;
    int bands;
    double low, high;
    bool house;
    double maxBoost;
};

struct Fitted {
    FitProblem problem;
    FitSettings settings;
    BandFitter::Result result;
};

Fitted fitRoom(const Case& c) {
    FitSettings settings;
    settings.bands = c.bands;
    settings.low = c.low;
    settings.high = c.high;
    settings.maxBoost = c.maxBoost;
    std::string error;
    FitProblem problem =
        FitProblem::build(syntheticRoom(c.room), c.house ? FitTarget::house() : FitTarget::flat(),
                          PageCurve{}, settings, error);
    EXPECT_TRUE(error.empty()) << error;
    BandFitter::Result result = BandFitter(problem, settings).fit();
    return {std::move(problem), settings, std::move(result)};
}

bool inTable(const SortedTable& table, double x) {
    for (int i = 0; i < table.size(); ++i)
        if (table[i] == x) return true;
    return false;
}

void expectOnLattice(const Fitted& f) {
    const double limit = f.settings.maxBoost;
    for (const EqBand& b : f.result.bands) {
        EXPECT_TRUE(inTable(FrequencyTable::grid(), b.frequency) && b.frequency >= 19.7)
            << b.frequency;
        EXPECT_TRUE(inTable(QTable::table(), b.q)) << b.q;
        EXPECT_NEAR(b.gain * 10, std::round(b.gain * 10), 1e-9);
        EXPECT_GE(b.gain, -24.0);
        EXPECT_LE(b.gain, std::min(12.0, limit) + 1e-9);
        EXPECT_TRUE(b.type == 5 || b.type == 6 || b.type == 7);
    }
    EXPECT_LE(LatticePolish(f.problem, f.settings).largestBoost(f.result.bands),
              limit + LatticePolish::kBoostTolerance);
}

}  // namespace

// The lattice fit against a slow continuous fit from many more starts: within
// 10 % (or 0.1 dB) of it on every room and 5 % (or 0.05 dB) on the median.
TEST(BandFitter, ComesCloseToAThoroughContinuousFit) {
    const Case cases[] = {
        {11, 8, 20, 10000, false, 6}, {12, 8, 20, 500, true, 6},     {13, 8, 20, 10000, true, 6},
        {14, 8, 20, 500, false, 6},   {15, 15, 20, 10000, false, 6}, {16, 15, 20, 500, true, 6},
    };
    std::vector<double> ratios;
    for (const Case& c : cases) {
        Fitted f = fitRoom(c);
        expectOnLattice(f);
        BandFitter fitter(f.problem, f.settings);
        double reference = std::min(fitter.rms(fitter.continuousFit(c.bands <= 8 ? 30 : 16)),
                                    f.result.continuousRms);
        EXPECT_LT(f.result.rmsAfter, f.result.rmsBefore / 2) << "room " << c.room;
        EXPECT_LE(f.result.rmsAfter, std::max(reference * 1.10, reference + 0.10))
            << "room " << c.room;
        ratios.push_back(f.result.rmsAfter - std::max(reference * 0.05, 0.05) - reference);
    }
    std::nth_element(ratios.begin(), ratios.begin() + long(ratios.size() / 2), ratios.end());
    EXPECT_LE(ratios[ratios.size() / 2], 0.0);
}

TEST(BandFitter, KeepsTheBoostLimitAndGivesTheSameBandsAgain) {
    const Case cases[] = {
        {21, 8, 20, 10000, false, 0}, {22, 8, 20, 500, true, 3}, {23, 15, 20, 10000, true, 6}};
    for (const Case& c : cases) {
        Fitted f = fitRoom(c);
        expectOnLattice(f);
        EXPECT_EQ(fitRoom(c).result.bands, f.result.bands) << "room " << c.room;
        EXPECT_EQ(f.result.bands.size(), size_t(c.bands));
    }
}

// The target follows the page's crossovers and where they cut by more than
// 6 dB nothing is fitted: a flat room behind them needs no band at all, and
// no band cuts the rest to chase the roll-off.
TEST(BandFitter, LeavesTheCrossoversRollOffAlone) {
    struct Crossovers {
        int highPassType;
        double highPass;
        int lowPassType;
        double lowPass;
        double lowestFitted, highestFitted;
    };
    const Crossovers cases[] = {{24, 80, 9, 20600, 70, 10000}, {24, 80, 25, 2000, 70, 2100}};
    Measurement flat;
    for (double f = 10; f < 22000; f *= 1.05) {
        flat.frequency.push_back(f);
        flat.level.push_back(75);
    }
    for (const Crossovers& c : cases) {
        PageCurve page;
        page.highPassType = c.highPassType;
        page.highPassFrequency = c.highPass;
        page.lowPassType = c.lowPassType;
        page.lowPassFrequency = c.lowPass;
        FitSettings settings;
        std::string error;
        FitProblem problem = FitProblem::build(flat, FitTarget::flat(), page, settings, error);
        ASSERT_TRUE(error.empty()) << error;
        EXPECT_TRUE(problem.narrowed(settings));
        EXPECT_GT(problem.low(), c.lowestFitted);
        EXPECT_LT(problem.high(), c.highestFitted + 1);
        BandFitter::Result r = BandFitter(problem, settings).fit();
        EXPECT_LT(r.rmsBefore, 0.1);
        for (const EqBand& b : r.bands) EXPECT_GE(b.gain, -1.0) << b.frequency;
    }
}
