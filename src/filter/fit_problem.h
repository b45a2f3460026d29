#pragma once

#include <string>
#include <vector>

#include "filter/evaluation_point.h"
#include "filter/fit_settings.h"
#include "filter/fit_target.h"
#include "filter/measurement.h"
#include "filter/page_curve.h"

// A fit's fixed part on its grids: the smoothed measurement, the placed target
// and the page's crossovers on a 1/48-octave grid over the range, and the grid
// on which the bands' summed boost is checked.
class FitProblem {
public:
    static constexpr int kPointsPerOctave = 48;
    static constexpr int kCheckPointsPerOctave = 192;

    // The range is cut to what the measurement covers; error says why there is
    // nothing to fit.
    static FitProblem build(const Measurement& measurement, const FitTarget& target,
                            const PageCurve& crossovers, const FitSettings& settings,
                            std::string& error);

    // Every step-th point of the grid, for a quicker search.
    FitProblem decimated(int step) const;

    // The range actually fitted: the one asked for, cut to what the
    // measurement covers and to where the crossovers cut by 6 dB or less.
    double low() const { return m_low; }
    double high() const { return m_high; }
    bool narrowed(const FitSettings& asked) const;

    int size() const { return static_cast<int>(m_frequencies.size()); }
    double pointsPerOctave() const { return m_pointsPerOctave; }
    const std::vector<double>& frequencies() const { return m_frequencies; }
    const std::vector<EvaluationPoint>& points() const { return m_points; }
    const std::vector<double>& measured() const { return m_measured; }
    const std::vector<double>& target() const { return m_target; }
    const std::vector<double>& crossovers() const { return m_crossovers; }
    // Measured plus crossovers minus target: what the bands should cancel.
    const std::vector<double>& base() const { return m_base; }
    const std::vector<EvaluationPoint>& checkPoints() const { return m_checkPoints; }

    // Power average over a 1/fraction octave around f; the level itself for 0.
    static double smoothed(const Measurement& m, double f, int fraction);

private:
    double m_pointsPerOctave = kPointsPerOctave;
    double m_low = 0;
    double m_high = 0;
    std::vector<double> m_frequencies;
    std::vector<EvaluationPoint> m_points;
    std::vector<double> m_measured;
    std::vector<double> m_target;
    std::vector<double> m_crossovers;
    std::vector<double> m_base;
    std::vector<EvaluationPoint> m_checkPoints;
};
