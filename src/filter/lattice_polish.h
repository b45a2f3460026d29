#pragma once

#include <vector>

#include "filter/eq_band.h"
#include "filter/fit_problem.h"
#include "filter/fit_settings.h"

// Moves fitted bands onto the device's lattice (frequency grid, Q table, gain
// steps and range) and searches their neighbourhood there, reading every band
// as the graph draws it. The bands' summed boost never exceeds the limit on
// the problem's check grid, which holds every grid frequency a band can have.
class LatticePolish {
public:
    static constexpr double kBoostTolerance = 1e-4;  // dB, for single-precision levels

    struct Stats {
        double rms = 0;  // after the best constant offset
        double max = 0;  // largest deviation after it
    };

    LatticePolish(const FitProblem& problem, const FitSettings& settings);

    std::vector<EqBand> polish(const std::vector<EqBand>& continuous) const;
    // The nearest lattice point of a band: frequency and Q by ratio, gain
    // rounded to a step and kept within the band's range and the boost limit.
    static EqBand onLattice(const EqBand& band, const FitSettings& settings);

    Stats stats(const std::vector<EqBand>& bands) const;
    // The bands' summed level on the problem's grid.
    std::vector<double> sum(const std::vector<EqBand>& bands) const;
    // The largest summed level of the bands on the check grid.
    double largestBoost(const std::vector<EqBand>& bands) const;

private:
    struct Slot;

    static int lowestTenths(const FitSettings& settings);
    static int highestTenths(const FitSettings& settings);
    static Slot slotOf(const EqBand& band, const FitSettings& settings);
    std::vector<double> curve(const Slot& s, const std::vector<EvaluationPoint>& points) const;
    void fill(Slot& s) const;
    EqBand band(const Slot& s) const;
    bool improve(std::vector<Slot>& slots, size_t b, std::vector<double>& total,
                 std::vector<double>& boost) const;
    void holdBoost(std::vector<Slot>& slots, std::vector<double>& boost) const;

    const FitProblem& m_problem;
    FitSettings m_settings;
    int m_lowestTenths;
    int m_highestTenths;
};
