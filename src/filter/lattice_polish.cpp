#include "filter/lattice_polish.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "filter/filter_cascade.h"
#include "filter/frequency_table.h"
#include "filter/q_table.h"

namespace {

constexpr int kMaxPasses = 4;
constexpr int kNeighbours = 2;  // grid and table entries tried on each side

// Nearest entry of a table by ratio, from index `first` on.
int nearestIndex(const SortedTable& table, int first, double x) {
    int i = std::max(table.indexOf(x), first);
    if (i > first && std::abs(std::log(table[i - 1] / x)) <= std::abs(std::log(table[i] / x))) --i;
    return i;
}

// Sum of squares after the best constant offset.
double centred(const std::vector<double>& x) {
    double s = 0, s2 = 0;
    for (double v : x) s += v, s2 += v * v;
    return s2 - s * s / double(x.size());
}

}  // namespace

struct LatticePolish::Slot {
    int type = FilterCascade::kPeaking;
    int frequency = 1;  // grid index
    int q = 0;          // Q table index
    int tenths = 0;
    std::vector<double> curve;  // on the problem's grid
    std::vector<double> boost;  // on the check grid
};

LatticePolish::LatticePolish(const FitProblem& problem, const FitSettings& settings)
    : m_problem(problem),
      m_settings(settings),
      m_lowestTenths(lowestTenths(settings)),
      m_highestTenths(highestTenths(settings)) {}

int LatticePolish::lowestTenths(const FitSettings& settings) {
    return int(std::ceil(settings.gainMinimum * 10 - 1e-9));
}

int LatticePolish::highestTenths(const FitSettings& settings) {
    return int(std::floor(std::min(settings.gainMaximum, settings.maxBoost) * 10 + 1e-9));
}

LatticePolish::Slot LatticePolish::slotOf(const EqBand& b, const FitSettings& settings) {
    Slot s;
    s.type = b.type;
    s.frequency = nearestIndex(FrequencyTable::grid(), 1, b.frequency);
    s.q = nearestIndex(QTable::table(), 0, b.q);
    s.tenths =
        std::clamp(int(std::lround(b.gain * 10)), lowestTenths(settings), highestTenths(settings));
    return s;
}

std::vector<double> LatticePolish::curve(const Slot& s,
                                         const std::vector<EvaluationPoint>& points) const {
    std::vector<double> out(points.size(), 0.0);
    if (s.tenths == 0) return out;
    FilterCascade c = FilterCascade::band(s.type, FrequencyTable::grid()[s.frequency], s.tenths,
                                          QTable::entry(s.q));
    for (size_t k = 0; k < points.size(); ++k) out[k] = c.levelDb(points[k]);
    return out;
}

void LatticePolish::fill(Slot& s) const {
    s.curve = curve(s, m_problem.points());
    s.boost = curve(s, m_problem.checkPoints());
}

EqBand LatticePolish::band(const Slot& s) const {
    return {s.type, FrequencyTable::grid()[s.frequency], QTable::entry(s.q), s.tenths / 10.0};
}

// Moves the band that adds most where the summed boost is highest a step
// toward 0 dB at a time, until the sum is within the limit everywhere.
void LatticePolish::holdBoost(std::vector<Slot>& slots, std::vector<double>& boost) const {
    const double limit = m_settings.maxBoost + kBoostTolerance;
    for (;;) {
        size_t worst = size_t(std::max_element(boost.begin(), boost.end()) - boost.begin());
        if (boost.empty() || boost[worst] <= limit) return;
        // A cutting shelf with a high Q overshoots: it too moves toward 0 dB.
        Slot* top = nullptr;
        for (Slot& s : slots)
            if (s.tenths != 0 && s.boost[worst] > 0 && (!top || s.boost[worst] > top->boost[worst]))
                top = &s;
        if (!top) return;
        for (size_t k = 0; k < boost.size(); ++k) boost[k] -= top->boost[k];
        top->tenths += top->tenths > 0 ? -1 : 1;
        fill(*top);
        for (size_t k = 0; k < boost.size(); ++k) boost[k] += top->boost[k];
    }
}

// The best neighbour of band b on the lattice, its gain chosen by least
// squares for each frequency and Q tried; true when it moved.
bool LatticePolish::improve(std::vector<Slot>& slots, size_t b, std::vector<double>& total,
                            std::vector<double>& boost) const {
    Slot& s = slots[b];
    const size_t n = total.size();
    std::vector<double> rest(n);
    for (size_t k = 0; k < n; ++k) rest[k] = total[k] - s.curve[k];
    const double now = centred(total) - 1e-12;
    std::vector<std::pair<double, Slot>> better;
    for (int df = -kNeighbours; df <= kNeighbours; ++df) {
        for (int dq = -kNeighbours; dq <= kNeighbours; ++dq) {
            Slot t = s;
            t.frequency = std::clamp(s.frequency + df, 1, FrequencyTable::kLast);
            t.q = std::clamp(s.q + dq, 0, QTable::kLast);
            const int first = s.tenths != 0 ? s.tenths : -10;
            t.tenths = first;
            const std::vector<double> unit =
                df == 0 && dq == 0 && s.tenths != 0 ? s.curve : curve(t, m_problem.points());
            double su = 0, sr = 0, suu = 0, sur = 0;
            for (size_t k = 0; k < n; ++k) {
                double u = unit[k] / first;
                su += u, sr += rest[k], suu += u * u, sur += u * rest[k];
            }
            double var = suu - su * su / double(n);
            int centre = var > 0 ? int(std::lround(-(sur - su * sr / double(n)) / var)) : s.tenths;
            for (int tenths = centre - 1; tenths <= centre + 1; ++tenths) {
                t.tenths = std::clamp(tenths, m_lowestTenths, m_highestTenths);
                std::vector<double> c = t.tenths == first ? unit : curve(t, m_problem.points());
                for (size_t k = 0; k < n; ++k) c[k] += rest[k];
                double cost = centred(c);
                if (cost < now) better.emplace_back(cost, t);
            }
        }
    }
    // The boost limit is checked for the best first, and only as far as needed.
    std::stable_sort(better.begin(), better.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    const double limit = m_settings.maxBoost + kBoostTolerance;
    for (auto& [cost, t] : better) {
        std::vector<double> checked = curve(t, m_problem.checkPoints());
        bool within = true;
        for (size_t k = 0; k < boost.size() && within; ++k)
            within = boost[k] - s.boost[k] + checked[k] <= limit;
        if (!within) continue;
        for (size_t k = 0; k < boost.size(); ++k) boost[k] += checked[k] - s.boost[k];
        t.curve = curve(t, m_problem.points());
        t.boost = std::move(checked);
        for (size_t k = 0; k < n; ++k) total[k] = rest[k] + t.curve[k];
        s = std::move(t);
        return true;
    }
    return false;
}

EqBand LatticePolish::onLattice(const EqBand& b, const FitSettings& settings) {
    LatticePolish::Slot s = slotOf(b, settings);
    return {s.type, FrequencyTable::grid()[s.frequency], QTable::entry(s.q), s.tenths / 10.0};
}

std::vector<EqBand> LatticePolish::polish(const std::vector<EqBand>& continuous) const {
    std::vector<Slot> slots;
    for (const EqBand& c : continuous) {
        Slot s = slotOf(c, m_settings);
        fill(s);
        slots.push_back(std::move(s));
    }
    std::vector<double> total(m_problem.base());
    std::vector<double> boost(m_problem.checkPoints().size(), 0.0);
    for (const Slot& s : slots)
        for (size_t k = 0; k < boost.size(); ++k) boost[k] += s.boost[k];
    holdBoost(slots, boost);
    for (const Slot& s : slots)
        for (size_t k = 0; k < total.size(); ++k) total[k] += s.curve[k];
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        bool moved = false;
        for (size_t b = 0; b < slots.size(); ++b) moved |= improve(slots, b, total, boost);
        if (!moved) break;
    }
    std::vector<EqBand> out;
    for (const Slot& s : slots) out.push_back(band(s));
    return out;
}

std::vector<double> LatticePolish::sum(const std::vector<EqBand>& bands) const {
    std::vector<double> out(size_t(m_problem.size()), 0.0);
    for (const EqBand& b : bands) {
        FilterCascade c = FilterCascade::band(b.type, b.frequency, std::lround(b.gain * 10), b.q);
        for (size_t k = 0; k < out.size(); ++k) out[k] += c.levelDb(m_problem.points()[k]);
    }
    return out;
}

LatticePolish::Stats LatticePolish::stats(const std::vector<EqBand>& bands) const {
    std::vector<double> r = sum(bands);
    if (r.empty()) return {};
    for (size_t k = 0; k < r.size(); ++k) r[k] += m_problem.base()[k];
    double mean = std::accumulate(r.begin(), r.end(), 0.0) / double(r.size());
    Stats s;
    for (double v : r) s.max = std::max(s.max, std::abs(v - mean));
    s.rms = std::sqrt(centred(r) / double(r.size()));
    return s;
}

double LatticePolish::largestBoost(const std::vector<EqBand>& bands) const {
    double largest = 0;
    const std::vector<EvaluationPoint>& points = m_problem.checkPoints();
    std::vector<double> boost(points.size(), 0.0);
    for (const EqBand& b : bands) {
        FilterCascade c = FilterCascade::band(b.type, b.frequency, std::lround(b.gain * 10), b.q);
        for (size_t k = 0; k < points.size(); ++k) boost[k] += c.levelDb(points[k]);
    }
    for (double v : boost) largest = std::max(largest, v);
    return largest;
}
