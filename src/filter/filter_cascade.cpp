#include "filter/filter_cascade.h"

#include <cmath>

namespace {

enum class Kind { None, HP2, LP2, HP1, LP1, HPU, LPU };

struct Stage {
    Kind kind = Kind::None;
    double p = 0;
};

using Recipe = std::array<Stage, FilterCascade::kMaxSections>;

constexpr int kFirstCode = 8;
constexpr int kLastCode = 63;

constexpr Stage hp2(double p) {
    return {Kind::HP2, p};
}
constexpr Stage lp2(double p) {
    return {Kind::LP2, p};
}
constexpr Stage kHP1{Kind::HP1, 0};
constexpr Stage kLP1{Kind::LP1, 0};
constexpr Stage kHPU{Kind::HPU, 0};
constexpr Stage kLPU{Kind::LPU, 0};
constexpr Recipe kFlat{};

// Crossover type codes 8 ... 63 in order.
constexpr std::array<Recipe, kLastCode - kFirstCode + 1> kRecipes = {{
    {hp2(0.4997)},                                         // 8
    {lp2(0.5019)},                                         // 9
    {hp2(0.333)},                                          // 10
    {lp2(0.3345)},                                         // 11
    {hp2(0.4995)},                                         // 12
    {lp2(0.5019)},                                         // 13
    {kHP1, hp2(0.999)},                                    // 14
    {kLP1, lp2(1.0048)},                                   // 15
    {kHP1, hp2(0.333)},                                    // 16
    {kLP1, lp2(0.3345)},                                   // 17
    {kHP1, hp2(0.4995)},                                   // 18
    {kLP1, lp2(0.5019)},                                   // 19
    {hp2(1.7039), hp2(0.2925)},                            // 20 Butterworth 24
    {lp2(1.717), lp2(0.2939)},                             // 21
    {hp2(0.333), hp2(0.333)},                              // 22 Bessel 24
    {lp2(0.3345), lp2(0.3345)},                            // 23
    {hp2(0.4995), hp2(0.4995)},                            // 24 Linkwitz-Riley 24
    {lp2(0.5019), lp2(0.5019)},                            // 25
    {hp2(6.6331), hp2(0.8136), hp2(0.3629), hp2(0.2607)},  // 26 Butterworth 48
    {lp2(6.6331), lp2(0.8136), lp2(0.3629), lp2(0.2607)},  // 27
    {hp2(0.333), hp2(0.333), hp2(0.333), hp2(0.333)},      // 28 Bessel 48
    {lp2(0.3345), lp2(0.3345), lp2(0.3345), lp2(0.3345)},  // 29
    {hp2(1.7054), hp2(0.2926), hp2(1.7054), hp2(0.2926)},  // 30 Linkwitz-Riley 48
    {lp2(1.717), lp2(0.2939), lp2(1.717), lp2(0.2939)},    // 31
    {kHPU},                                                // 32 user 12
    {kLPU},                                                // 33
    kFlat,                                                 // 34
    kFlat,                                                 // 35
    {kHPU, kHPU},                                          // 36 user 24
    {kLPU, kLPU},                                          // 37
    kFlat,                                                 // 38
    kFlat,                                                 // 39
    {kHP1},                                                // 40
    {kLP1},                                                // 41
    {kHP1},                                                // 42
    {kLP1},                                                // 43
    {kHP1},                                                // 44
    {kLP1},                                                // 45
    kFlat,
    kFlat,
    kFlat,
    kFlat,
    kFlat,
    kFlat,                                          // 46 ... 51
    {kHP1, hp2(1.7039), kHP1, hp2(0.2925)},         // 52
    {lp2(2.57548), lp2(0.901998), lp2(0.602412)},   // 53
    {hp2(0.577062), hp2(0.577062), hp2(0.577062)},  // 54
    {lp2(0.57836), lp2(0.57836), lp2(0.57836)},     // 55
    {hp2(0.4995), hp2(0.4995), hp2(0.4995)},        // 56
    {lp2(0.5019), lp2(0.5019), lp2(0.5019)},        // 57
    kFlat,
    kFlat,
    kFlat,
    kFlat,
    kFlat,
    kFlat,  // 58 ... 63
}};

const Recipe& recipe(int code) {
    if (code < kFirstCode || code > kLastCode) return kFlat;
    return kRecipes[static_cast<size_t>(code - kFirstCode)];
}

BiquadSection design(const Stage& stage, double f, double userQ) {
    switch (stage.kind) {
        case Kind::HP2:
            return BiquadSection::hp2(f, stage.p);
        case Kind::LP2:
            return BiquadSection::lp2(f, stage.p);
        case Kind::HP1:
            return BiquadSection::hp1(f);
        case Kind::LP1:
            return BiquadSection::lp1(f);
        case Kind::HPU:
            return BiquadSection::hpu(f, userQ);
        case Kind::LPU:
            return BiquadSection::lpu(f, userQ);
        case Kind::None:
            break;
    }
    return {};
}

bool usesUserQ(const Recipe& r) {
    for (const Stage& s : r) {
        if (s.kind == Kind::HPU || s.kind == Kind::LPU) return true;
    }
    return false;
}

bool gated(int code, double f, double highPassMaximum, double lowPassMaximum) {
    if (FilterCascade::isHighPassCode(code)) {
        return f < FilterCascade::kMinimumFrequency || f > highPassMaximum;
    }
    return f >= FilterCascade::kMaximumFrequency &&
           (f >= lowPassMaximum || f < FilterCascade::kMinimumFrequency);
}

bool usable(double x) {
    return std::isfinite(x) && x > 0;
}

}  // namespace

bool FilterCascade::hasSections(int code) {
    return recipe(code)[0].kind != Kind::None;
}

FilterCascade FilterCascade::crossover(int code, double frequency, double userQ,
                                       double highPassMaximum, double lowPassMaximum) {
    FilterCascade cascade;
    const Recipe& r = recipe(code);
    if (!usable(frequency) || (usesUserQ(r) && !usable(userQ))) return cascade;
    if (gated(code, frequency, highPassMaximum, lowPassMaximum)) return cascade;
    for (const Stage& stage : r) {
        if (stage.kind != Kind::None) cascade.add(design(stage, frequency, userQ));
    }
    return cascade;
}

FilterCascade FilterCascade::band(int type, double frequency, double tenths, double q) {
    FilterCascade cascade;
    if (!usable(frequency) || !usable(q) || !std::isfinite(tenths)) return cascade;
    switch (type) {
        case kHighShelf:
            cascade.add(BiquadSection::highShelf(frequency, tenths, q));
            break;
        case kLowShelf:
            cascade.add(BiquadSection::lowShelf(frequency, tenths, q));
            break;
        default:
            cascade.add(BiquadSection::peaking(frequency, tenths, q));
            break;
    }
    return cascade;
}

void FilterCascade::add(const BiquadSection& section) {
    m_sections[size_t(m_count++)] = section;
}

double FilterCascade::levelDb(const EvaluationPoint& point) const {
    double level = 0;
    for (int i = 0; i < m_count; ++i) level += m_sections[size_t(i)].levelDb(point);
    return level;
}
