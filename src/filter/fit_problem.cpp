#include "filter/fit_problem.h"

#include <algorithm>
#include <cmath>

#include "filter/filter_cascade.h"
#include "filter/filter_text_writer.h"
#include "filter/frequency_table.h"
#include "texts/measurement_texts.h"

namespace {

constexpr double kCrossoverUserQ = 1.5;  // what the graph draws a user-Q crossover with
constexpr int kDenseWindow = 4;          // points in a window that are averaged as they are
constexpr int kWindowSamples = 9;        // otherwise samples of the interpolated level
constexpr double kMinimumOctaves = 1.0;
constexpr double kCrossoverCutDb = 6.0;

double power(double db) {
    return std::pow(10.0, db / 10);
}

std::vector<double> logGrid(double low, double high, int perOctave) {
    std::vector<double> out;
    int count = static_cast<int>(std::floor(std::log2(high / low) * perOctave + 1e-9));
    for (int k = 0; k <= count; ++k) out.push_back(low * std::exp2(double(k) / perOctave));
    return out;
}

}  // namespace

double FitProblem::smoothed(const Measurement& m, double f, int fraction) {
    if (fraction <= 0) return m.levelAt(f);
    double half = std::exp2(0.5 / fraction);
    auto first = std::lower_bound(m.frequency.begin(), m.frequency.end(), f / half);
    auto last = std::upper_bound(m.frequency.begin(), m.frequency.end(), f * half);
    double sum = 0;
    if (last - first >= kDenseWindow) {
        for (auto it = first; it != last; ++it)
            sum += power(m.level[size_t(it - m.frequency.begin())]);
        return 10 * std::log10(sum / double(last - first));
    }
    for (int k = 0; k < kWindowSamples; ++k)
        sum += power(m.levelAt(f / half * std::pow(half * half, double(k) / (kWindowSamples - 1))));
    return 10 * std::log10(sum / kWindowSamples);
}

FitProblem FitProblem::build(const Measurement& measurement, const FitTarget& target,
                             const PageCurve& crossovers, const FitSettings& settings,
                             std::string& error) {
    FitProblem p;
    double low =
        std::max(settings.low, measurement.empty() ? settings.low : measurement.frequency.front());
    double high = std::min(settings.high, measurement.empty() ? 0 : measurement.frequency.back());
    if (measurement.empty() || !(high >= low * std::exp2(kMinimumOctaves))) {
        error = formatText(measurementtext::RangeUncovered,
                           FilterTextWriter::number(settings.low).c_str(),
                           FilterTextWriter::number(settings.high).c_str());
        return p;
    }
    std::vector<double> grid = logGrid(low, high, kPointsPerOctave);
    FilterCascade hp = FilterCascade::crossover(
        crossovers.highPassType, crossovers.highPassFrequency, kCrossoverUserQ,
        crossovers.limits.highPassMax, crossovers.limits.lowPassMax);
    FilterCascade lp = FilterCascade::crossover(crossovers.lowPassType, crossovers.lowPassFrequency,
                                                kCrossoverUserQ, crossovers.limits.highPassMax,
                                                crossovers.limits.lowPassMax);
    // Where the crossovers remove the sound the installer chose to remove it:
    // the fit spends nothing there.
    std::vector<double> passed;
    for (double f : grid) {
        EvaluationPoint point = EvaluationPoint::at(f);
        passed.push_back(hp.levelDb(point) + lp.levelDb(point));
    }
    auto kept = [&](double level) { return level >= -kCrossoverCutDb; };
    auto first = std::find_if(passed.begin(), passed.end(), kept);
    auto last = std::find_if(passed.rbegin(), passed.rend(), kept).base();
    if (first >= last || !(grid[size_t(last - passed.begin()) - 1] >=
                           grid[size_t(first - passed.begin())] * std::exp2(kMinimumOctaves))) {
        error = formatText(measurementtext::CrossoversLeaveNothing,
                           FilterTextWriter::number(low).c_str(),
                           FilterTextWriter::number(high).c_str());
        return p;
    }
    for (auto it = first; it != last; ++it) {
        double f = grid[size_t(it - passed.begin())];
        EvaluationPoint point = EvaluationPoint::at(f);
        p.m_frequencies.push_back(f);
        p.m_points.push_back(point);
        p.m_measured.push_back(smoothed(measurement, f, settings.smoothing));
        p.m_crossovers.push_back(*it);
    }
    p.m_low = first == passed.begin() ? low : p.m_frequencies.front();
    p.m_high = last == passed.end() ? high : p.m_frequencies.back();
    // The target sits at the measurement's mean level over the anchor band.
    std::vector<double> anchor =
        logGrid(FitTarget::kAnchorLow, FitTarget::kAnchorHigh, kPointsPerOctave);
    double offset = 0;
    for (double f : anchor)
        offset += smoothed(measurement, f, settings.smoothing) - target.shape(f);
    offset /= double(anchor.size());
    for (size_t k = 0; k < p.m_frequencies.size(); ++k) {
        // The target follows the crossovers, so the bands never fight them.
        p.m_target.push_back(target.shape(p.m_frequencies[k]) + offset + p.m_crossovers[k]);
        p.m_base.push_back(p.m_measured[k] + p.m_crossovers[k] - p.m_target[k]);
    }
    for (double f :
         logGrid(FrequencyTable::kMinimum, FrequencyTable::kMaximum, kCheckPointsPerOctave))
        p.m_checkPoints.push_back(EvaluationPoint::at(f));
    const SortedTable table = FrequencyTable::grid();
    for (int i = 1; i < FrequencyTable::kSize; ++i)
        p.m_checkPoints.push_back(EvaluationPoint::at(table[i]));
    return p;
}

bool FitProblem::narrowed(const FitSettings& asked) const {
    return m_low > asked.low || m_high < asked.high;
}

FitProblem FitProblem::decimated(int step) const {
    FitProblem p;
    p.m_pointsPerOctave = m_pointsPerOctave / step;
    p.m_low = m_low;
    p.m_high = m_high;
    for (size_t k = 0; k < m_frequencies.size(); k += size_t(step)) {
        p.m_frequencies.push_back(m_frequencies[k]);
        p.m_points.push_back(m_points[k]);
        p.m_measured.push_back(m_measured[k]);
        p.m_target.push_back(m_target[k]);
        p.m_crossovers.push_back(m_crossovers[k]);
        p.m_base.push_back(m_base[k]);
    }
    p.m_checkPoints = m_checkPoints;
    return p;
}
