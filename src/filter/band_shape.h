#pragma once

#include <array>

#include "filter/biquad_section.h"
#include "filter/evaluation_point.h"

// The continuous response of one equaliser band for the fitter: its level in
// dB in double precision and the level's derivatives by the natural logarithm
// of the frequency, the gain in dB and the natural logarithm of Q. A peaking
// band has them in closed form; a shelf by central differences.
class BandShape {
public:
    BandShape(int type, double logFrequency, double gainDb, double logQ);

    double level(const EvaluationPoint& p) const;
    // The squared magnitude, whose logarithm the level is: products of
    // several bands' ratios need one logarithm instead of one each.
    double ratio(const EvaluationPoint& p) const;
    // The ratio, with the level's derivatives: d[0] by ln f, d[1] by gain,
    // d[2] by ln Q.
    double ratio(const EvaluationPoint& p, double d[3]) const;

    static constexpr double kDbPerLn = 4.342944819032518;  // 10 / ln 10

private:
    static double sectionRatio(const BiquadSection& s, const EvaluationPoint& p);

    bool m_peaking;
    double m_omega = 0;
    double m_c0 = 0, m_s0 = 0;
    double m_a2 = 1;                         // the amplitude squared
    double m_beta = 0;                       // alpha squared
    double m_dBeta = 0;                      // its derivative by omega
    std::array<BiquadSection, 7> m_shelf{};  // the shelf, then minus and plus each parameter
};
