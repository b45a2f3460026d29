#include "filter/band_fitter.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "filter/band_shape.h"
#include "filter/filter_cascade.h"
#include "filter/frequency_table.h"
#include "filter/lattice_polish.h"
#include "filter/q_table.h"

namespace {

constexpr double kPenaltyWeight = 30.0;  // per dB of summed boost over the limit
constexpr int kBoostPointsPerOctave = 24;
constexpr double kStepLimit[3] = {0.5, 6.0, 1.0};  // largest move of ln f, gain, ln Q
constexpr double kShelfQMaximum = 2.0;             // above it a shelf no longer changes
constexpr double kShelfQ = 0.71;
constexpr int kSeedChoices = 4;
constexpr int kNewBandIterations = 12;
constexpr int kJointEvery = 4;
constexpr int kJointIterations = 10;
constexpr int kFinalIterations = 60;
constexpr int kRandomIterations = 120;
constexpr int kSnapIterations = 8;
constexpr int kTrialIterations = 2;  // for each lattice neighbour of a band being snapped
constexpr int kRelocateIterations = 15;
constexpr int kRelocationFailures = 4;
constexpr int kCoarseBands = 8;       // more bands fit finer features, which need every point
constexpr int kCoarseSmoothing = 12;  // 1/N octave: smoothed this much, half the points suffice
constexpr double kTolerance = 1e-5;   // relative gain of an iteration that ends a search

// Starts that a fit tries: more for few bands, as each costs less.
int startsFor(int bands) {
    return bands <= 8 ? 8 : 4;
}

// splitmix64: the same numbers on every machine.
class Random {
public:
    explicit Random(uint64_t seed)
        : m_state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    double uniform() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return double(z >> 11) * 0x1.0p-53;
    }

private:
    uint64_t m_state;
};

// Solves m x = b in place for a symmetric positive definite m (n x n).
bool solve(std::vector<double>& m, std::vector<double>& b, size_t n) {
    for (size_t j = 0; j < n; ++j) {
        double d = m[j * n + j];
        for (size_t k = 0; k < j; ++k) d -= m[j * n + k] * m[j * n + k];
        if (!(d > 0)) return false;
        d = std::sqrt(d);
        m[j * n + j] = d;
        for (size_t i = j + 1; i < n; ++i) {
            double s = m[i * n + j];
            for (size_t k = 0; k < j; ++k) s -= m[i * n + k] * m[j * n + k];
            m[i * n + j] = s / d;
        }
    }
    for (size_t i = 0; i < n; ++i) {
        for (size_t k = 0; k < i; ++k) b[i] -= m[i * n + k] * b[k];
        b[i] /= m[i * n + i];
    }
    for (size_t i = n; i-- > 0;) {
        for (size_t k = i + 1; k < n; ++k) b[i] -= m[k * n + i] * b[k];
        b[i] /= m[i * n + i];
    }
    return true;
}

// Four sums side by side, so that the loop runs in vector registers.
double dot(const double* x, const double* y, size_t n) {
    double s[4] = {0, 0, 0, 0};
    size_t k = 0;
    for (; k + 4 <= n; k += 4)
        for (size_t i = 0; i < 4; ++i) s[i] += x[k + i] * y[k + i];
    for (; k < n; ++k) s[0] += x[k] * y[k];
    return (s[0] + s[1]) + (s[2] + s[3]);
}

// How much a band's response changes when its frequency moves.
double sensitivity(const BandFitter::Band& b) {
    return std::abs(b.x[1]) * std::exp(b.x[2]);
}

// The entries of a table on either side of x, from index `first` on.
std::vector<double> bracket(const SortedTable& table, int first, double x) {
    int i = std::max(table.indexOf(x), first);
    if (i == first || table[i] == x) return {table[i]};
    return {table[i - 1], table[i]};
}

double qFromOctaves(double width) {
    return 1.0 / (2.0 * std::sinh(std::log(2.0) * std::max(width, 1e-3) / 2.0));
}

}  // namespace

// The residual and its Jacobian: the grid's rows column by column, the rows
// of the boost limit (few) row by row.
struct BandFitter::Evaluation {
    std::vector<double> r;
    std::vector<double> j;
    std::vector<double> limitR;
    std::vector<double> limitJ;
    size_t columns = 0;
};

BandFitter::BandFitter(const FitProblem& problem, const FitSettings& settings)
    : m_problem(problem), m_settings(settings) {
    const std::vector<double>& f = problem.frequencies();
    double low = f.empty() ? 20 : f.front(), high = f.empty() ? 20000 : f.back();
    m_lower[0] = std::log(std::max(FrequencyTable::kMinimum, low / 2));
    m_upper[0] = std::log(std::min(FrequencyTable::kMaximum, high * 2));
    m_lower[1] = settings.gainMinimum;
    m_upper[1] = std::min(settings.gainMaximum, settings.maxBoost);
    m_lower[2] = std::log(QTable::kMinimum);
    m_upper[2] = std::log(QTable::kMaximum);
    double step = std::exp2(1.0 / kBoostPointsPerOctave);
    for (double x = FrequencyTable::kMinimum; x <= FrequencyTable::kMaximum; x *= step)
        m_boostPoints.push_back(EvaluationPoint::at(x));
}

void BandFitter::clamp(Band& band) const {
    for (int k = 0; k < 3; ++k) band.x[k] = std::clamp(band.x[k], m_lower[k], m_upper[k]);
    if (band.type != FilterCascade::kPeaking)
        band.x[2] = std::min(band.x[2], std::log(kShelfQMaximum));
}

struct BandFitter::Fixed {
    std::vector<double> grid;
    std::vector<double> boost;
};

BandFitter::Fixed BandFitter::fixedPart(const std::vector<Band>& bands, size_t first) const {
    Fixed fixed{std::vector<double>(size_t(m_problem.size()), 1.0),
                std::vector<double>(m_boostPoints.size(), 1.0)};
    for (size_t b = 0; b < first; ++b) {
        BandShape shape(bands[b].type, bands[b].x[0], bands[b].x[1], bands[b].x[2]);
        for (size_t k = 0; k < fixed.grid.size(); ++k)
            fixed.grid[k] *= shape.ratio(m_problem.points()[k]);
        for (size_t k = 0; k < fixed.boost.size(); ++k)
            fixed.boost[k] *= shape.ratio(m_boostPoints[k]);
    }
    return fixed;
}

double BandFitter::cost(const std::vector<Band>& bands) const {
    return evaluate(bands, 0, fixedPart(bands, 0), nullptr);
}

double BandFitter::evaluate(const std::vector<Band>& bands, size_t first, const Fixed& fixed,
                            Evaluation* e) const {
    const size_t n = size_t(m_problem.size());
    const size_t columns = 3 * (bands.size() - first);
    std::vector<double> product(fixed.grid);
    if (e) {
        e->columns = columns;
        e->j.assign(n * columns, 0.0);
        e->limitR.clear();
        e->limitJ.clear();
    }
    const std::vector<EvaluationPoint>& points = m_problem.points();
    std::vector<BandShape> shapes;
    for (size_t b = first; b < bands.size(); ++b)
        shapes.emplace_back(bands[b].type, bands[b].x[0], bands[b].x[1], bands[b].x[2]);
    for (size_t b = 0; b < shapes.size(); ++b) {
        if (!e) {
            for (size_t k = 0; k < n; ++k) product[k] *= shapes[b].ratio(points[k]);
            continue;
        }
        double* column = &e->j[3 * b * n];
        for (size_t k = 0; k < n; ++k) {
            double d[3];
            product[k] *= shapes[b].ratio(points[k], d);
            column[k] = d[0];
            column[n + k] = d[1];
            column[2 * n + k] = d[2];
        }
    }
    std::vector<double> sum(n);
    double mean = 0;
    for (size_t k = 0; k < n; ++k) {
        sum[k] = m_problem.base()[k] + BandShape::kDbPerLn * std::log(product[k]);
        mean += sum[k];
    }
    mean /= double(n);
    double cost = 0;
    for (double& r : sum) {
        r -= mean;
        cost += r * r;
    }
    if (e) {
        for (size_t c = 0; c < columns; ++c) {
            double* column = &e->j[c * n];
            double m = std::accumulate(column, column + n, 0.0) / double(n);
            for (size_t k = 0; k < n; ++k) column[k] -= m;
        }
        e->r = std::move(sum);
    }
    // No peaking band rises above its gain: boosts that add up to the limit
    // cannot pass it. A shelf with a high Q overshoots.
    const double limit = m_settings.maxBoost;
    double boosts = 0;
    for (const Band& b : bands)
        boosts += b.type == FilterCascade::kPeaking ? std::max(b.x[1], 0.0) : 1e9;
    const double ratioLimit = std::exp(limit / BandShape::kDbPerLn);  // spares a log per point
    for (size_t k = 0; k < m_boostPoints.size() && boosts > limit; ++k) {
        double ratio = fixed.boost[k];
        for (const BandShape& shape : shapes) ratio *= shape.ratio(m_boostPoints[k]);
        if (ratio <= ratioLimit) continue;
        double level = BandShape::kDbPerLn * std::log(ratio);
        if (level <= limit) continue;
        double excess = kPenaltyWeight * (level - limit);
        cost += excess * excess;
        if (!e) continue;
        e->limitR.push_back(excess);
        size_t row = e->limitJ.size();
        e->limitJ.resize(row + columns, 0.0);
        for (size_t b = 0; b < shapes.size(); ++b) {
            double* d = &e->limitJ[row + 3 * b];
            shapes[b].ratio(m_boostPoints[k], d);
            for (int i = 0; i < 3; ++i) d[i] *= kPenaltyWeight;
        }
    }
    return cost;
}

// J'J and J'r.
void BandFitter::normalEquations(const Evaluation& e, std::vector<double>& a,
                                 std::vector<double>& g) {
    const size_t p = e.columns, n = e.r.size();
    a.assign(p * p, 0.0);
    g.assign(p, 0.0);
    for (size_t i = 0; i < p; ++i) {
        const double* ci = &e.j[i * n];
        g[i] = dot(ci, e.r.data(), n);
        for (size_t c = i; c < p; ++c) a[i * p + c] = dot(ci, &e.j[c * n], n);
    }
    for (size_t k = 0; k < e.limitR.size(); ++k) {
        const double* row = &e.limitJ[k * p];
        for (size_t i = 0; i < p; ++i) {
            g[i] += row[i] * e.limitR[k];
            for (size_t c = i; c < p; ++c) a[i * p + c] += row[i] * row[c];
        }
    }
    for (size_t i = 0; i < p; ++i)
        for (size_t c = 0; c < i; ++c) a[i * p + c] = a[c * p + i];
}

double BandFitter::refine(std::vector<Band>& bands, size_t first, int iterations) const {
    const Fixed fixed = fixedPart(bands, first);
    Evaluation e;
    double cost = evaluate(bands, first, fixed, &e);
    double lambda = 1e-3;
    for (int it = 0; it < iterations; ++it) {
        const size_t p = e.columns;
        std::vector<double> a, g;
        normalEquations(e, a, g);
        double gained = -1;
        while (gained < 0) {
            std::vector<double> m(a), step(g);
            for (size_t i = 0; i < p; ++i) m[i * p + i] += lambda * a[i * p + i] + 1e-9;
            std::vector<Band> trial(bands);
            if (solve(m, step, p)) {
                for (size_t i = 0; i < p; ++i) {
                    double& x = trial[first + i / 3].x[i % 3];
                    x -= std::clamp(step[i], -kStepLimit[i % 3], kStepLimit[i % 3]);
                }
                for (size_t b = first; b < trial.size(); ++b) clamp(trial[b]);
                double c = evaluate(trial, first, fixed, nullptr);
                if (c < cost) {
                    gained = cost - c;
                    cost = c;
                    bands = std::move(trial);
                    lambda = std::max(lambda * 0.3, 1e-9);
                    break;
                }
            }
            lambda *= 5;
            if (lambda > 1e6) return cost;
        }
        if (gained < kTolerance * cost + 1e-12) return cost;
        evaluate(bands, first, fixed, &e);
    }
    return cost;
}

std::vector<BandFitter::Band> BandFitter::snapped(std::vector<Band> bands) const {
    for (size_t m = 0; m < bands.size(); ++m) {
        size_t pick = m;
        for (size_t j = m + 1; j < bands.size(); ++j)
            if (sensitivity(bands[j]) > sensitivity(bands[pick])) pick = j;
        std::swap(bands[m], bands[pick]);
        // The grid frequencies and Q entries on either side, each with the
        // rest refitted around it: the nearest is often not the best.
        const Band b = bands[m];
        std::vector<Band> best;
        double bestCost = 0;
        for (double f : bracket(FrequencyTable::grid(), 1, std::exp(b.x[0])))
            for (double q : bracket(QTable::table(), 0, std::exp(b.x[2]))) {
                std::vector<Band> trial(bands);
                EqBand on = LatticePolish::onLattice({b.type, f, q, b.x[1]}, m_settings);
                trial[m].x[0] = std::log(on.frequency);
                trial[m].x[1] = on.gain;
                trial[m].x[2] = std::log(on.q);
                double c =
                    m + 1 < trial.size() ? refine(trial, m + 1, kTrialIterations) : cost(trial);
                if (best.empty() || c < bestCost) {
                    best = std::move(trial);
                    bestCost = c;
                }
            }
        bands = std::move(best);
        if (m + 1 < bands.size()) refine(bands, m + 1, kSnapIterations);
    }
    return bands;
}

std::vector<double> BandFitter::residual(const std::vector<Band>& bands) const {
    std::vector<double> r(m_problem.base());
    for (const Band& b : bands) {
        BandShape shape(b.type, b.x[0], b.x[1], b.x[2]);
        for (size_t k = 0; k < r.size(); ++k) r[k] += shape.level(m_problem.points()[k]);
    }
    double mean = std::accumulate(r.begin(), r.end(), 0.0) / double(r.size());
    for (double& x : r) x -= mean;
    return r;
}

double BandFitter::rms(const std::vector<Band>& bands) const {
    std::vector<double> r = residual(bands);
    return std::sqrt(std::inner_product(r.begin(), r.end(), r.begin(), 0.0) / double(r.size()));
}

// Peaks and dips of the residual, the largest area first, each as a peaking
// band that would cancel it.
std::vector<BandFitter::Seed> BandFitter::seeds(const std::vector<double>& r) const {
    std::vector<Seed> out;
    const size_t n = r.size();
    const std::vector<double>& f = m_problem.frequencies();
    for (size_t k = 0; k < n; ++k) {
        double v = r[k];
        double sign = v > 0 ? 1 : -1;
        if (v == 0 || (k > 0 && sign * r[k - 1] > sign * v) ||
            (k + 1 < n && sign * r[k + 1] >= sign * v))
            continue;
        double gain = std::clamp(-v, m_lower[1], m_upper[1]);
        if (std::abs(gain) < 0.05) continue;
        size_t i = k, j = k;
        while (i > 0 && sign * r[i - 1] > std::abs(v) / 2) --i;
        while (j + 1 < n && sign * r[j + 1] > std::abs(v) / 2) ++j;
        double width = double(j - i + 1) / m_problem.pointsPerOctave();
        double q = std::clamp(qFromOctaves(width), QTable::kMinimum, QTable::kMaximum);
        out.push_back({{std::log(f[k]), gain, std::log(q)}, std::abs(v) * std::sqrt(width)});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Seed& a, const Seed& b) { return a.score > b.score; });
    return out;
}

std::vector<BandFitter::Band> BandFitter::greedyStart(uint64_t variant) const {
    Random random(variant);
    std::vector<Band> bands;
    const std::vector<double>& f = m_problem.frequencies();
    const bool lowShelf = variant % 4 == 1, highShelf = variant % 4 == 2;
    if (m_settings.shelves && (lowShelf || highShelf) && m_settings.bands > 1) {
        std::vector<double> r = residual(bands);
        size_t edge = r.size() / 8 + 1;
        double mean = lowShelf ? std::accumulate(r.begin(), r.begin() + long(edge), 0.0)
                               : std::accumulate(r.end() - long(edge), r.end(), 0.0);
        Band shelf{lowShelf ? FilterCascade::kLowShelf : FilterCascade::kHighShelf,
                   {std::log(lowShelf ? f[edge] : f[r.size() - edge]), -mean / double(edge),
                    std::log(kShelfQ)}};
        clamp(shelf);
        bands.push_back(shelf);
        refine(bands, 0, kNewBandIterations);
    }
    while (int(bands.size()) < m_settings.bands) {
        std::vector<Seed> s = seeds(residual(bands));
        if (s.empty()) break;
        size_t pick = 0;
        if (variant > 0) {
            size_t choices = std::min<size_t>(kSeedChoices, s.size());
            double total = 0;
            for (size_t c = 0; c < choices; ++c) total += s[c].score;
            double u = random.uniform() * total;
            while (pick + 1 < choices && (u -= s[pick].score) > 0) ++pick;
        }
        Band band{FilterCascade::kPeaking, {s[pick].x[0], s[pick].x[1], s[pick].x[2]}};
        if (variant > 0) band.x[2] += (random.uniform() - 0.5) * 0.6;
        clamp(band);
        bands.push_back(band);
        refine(bands, bands.size() - 1, kNewBandIterations);
        if (bands.size() % kJointEvery == 0) refine(bands, 0, kJointIterations);
    }
    while (int(bands.size()) < m_settings.bands)
        bands.push_back({FilterCascade::kPeaking, {std::log(1000.0), 0.0, std::log(1.0)}});
    refine(bands, 0, kFinalIterations);
    return bands;
}

std::vector<BandFitter::Band> BandFitter::randomStart(uint64_t variant) const {
    Random random(variant);
    std::vector<Band> bands;
    std::vector<double> r = residual(bands);
    for (int b = 0; b < m_settings.bands; ++b) {
        size_t k = std::min(r.size() - 1, size_t(random.uniform() * double(r.size())));
        Band band{FilterCascade::kPeaking,
                  {std::log(m_problem.frequencies()[k]), -0.5 * r[k],
                   std::log(0.7) + random.uniform() * std::log(12.0)}};
        clamp(band);
        bands.push_back(band);
    }
    refine(bands, 0, kRandomIterations);
    return bands;
}

void BandFitter::relocate(std::vector<Band>& bands, double& best) const {
    int failures = 0;
    for (int round = 0; failures < kRelocationFailures && round < m_settings.bands; ++round) {
        std::vector<std::pair<double, size_t>> useful;
        for (size_t b = 0; b < bands.size(); ++b) {
            std::vector<Band> without(bands);
            without.erase(without.begin() + long(b));
            useful.push_back({cost(without), b});
        }
        std::stable_sort(useful.begin(), useful.end());
        std::vector<Band> trial(bands);
        trial.erase(trial.begin() +
                    long(useful[size_t(failures) % std::min<size_t>(3, useful.size())].second));
        std::vector<Seed> s = seeds(residual(trial));
        size_t pick = size_t(failures / 3) % 2;
        if (s.size() <= pick) break;
        trial.push_back({FilterCascade::kPeaking, {s[pick].x[0], s[pick].x[1], s[pick].x[2]}});
        refine(trial, trial.size() - 1, kNewBandIterations);
        double c = refine(trial, 0, kRelocateIterations);
        if (c < best * (1 - kTolerance)) {
            bands = std::move(trial);
            best = c;
            failures = 0;
        } else {
            ++failures;
        }
    }
}

std::vector<BandFitter::Band> BandFitter::continuousFit(int starts) const {
    std::vector<Band> best;
    double bestCost = 0;
    const int seeded = std::min(starts, startsFor(m_settings.bands));
    for (int v = 0; v < starts; ++v) {
        bool greedy = v < seeded || v % 2 == 0;
        std::vector<Band> bands = greedy ? greedyStart(uint64_t(v)) : randomStart(uint64_t(v));
        double c = cost(bands);
        if (best.empty() || c < bestCost) {
            best = std::move(bands);
            bestCost = c;
        }
    }
    relocate(best, bestCost);
    return best;
}

BandFitter::Result BandFitter::fit() const {
    Result result;
    if (m_problem.size() == 0 || m_settings.bands <= 0) return result;
    // The search on every other point when the measurement is smoothed; the
    // last steps on all of them.
    const int step = m_settings.smoothing > 0 && m_settings.smoothing <= kCoarseSmoothing &&
                             m_settings.bands <= kCoarseBands
                         ? 2
                         : 1;
    FitProblem coarse = m_problem.decimated(step);
    std::vector<Band> continuous =
        BandFitter(coarse, m_settings).continuousFit(startsFor(m_settings.bands));
    refine(continuous, 0, kFinalIterations);
    result.continuousRms = rms(continuous);
    std::vector<EqBand> start;
    for (const Band& b : snapped(continuous))
        start.push_back({b.type, std::exp(b.x[0]), std::exp(b.x[2]), b.x[1]});
    LatticePolish polish(m_problem, m_settings);
    result.bands = polish.polish(start);
    std::stable_sort(result.bands.begin(), result.bands.end(),
                     [](const EqBand& a, const EqBand& b) { return a.frequency < b.frequency; });
    LatticePolish::Stats before = polish.stats({});
    LatticePolish::Stats after = polish.stats(result.bands);
    result.rmsBefore = before.rms;
    result.maxBefore = before.max;
    result.rmsAfter = after.rms;
    result.maxAfter = after.max;
    result.equaliser = polish.sum(result.bands);
    return result;
}
