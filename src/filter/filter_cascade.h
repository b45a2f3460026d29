#pragma once

#include <array>
#include <span>

#include "filter/biquad_section.h"

// The response of one equaliser band or one crossover filter: up to four
// sections whose levels add up. Designed once per change, read per frequency.
// A cascade without sections is flat (0 dB everywhere).
class FilterCascade {
public:
    static constexpr int kMaxSections = 4;
    static constexpr int kHighShelf = 5;
    static constexpr int kLowShelf = 6;
    static constexpr int kPeaking = 7;
    static constexpr double kMinimumFrequency = 19.7;
    static constexpr double kMaximumFrequency = 20600.0;

    // Crossover type codes 8 ... 63, even high-pass, odd low-pass; codes beyond
    // the table, gated frequencies and meaningless parameters give a flat cascade.
    static FilterCascade crossover(int code, double frequency, double userQ, double highPassMaximum,
                                   double lowPassMaximum);
    // Band types 5 high shelf, 6 low shelf, anything else peaking.
    static FilterCascade band(int type, double frequency, double tenths, double q);

    static bool isHighPassCode(int code) { return code % 2 == 0; }
    // Whether the code names sections at all (before any frequency gating).
    static bool hasSections(int code);

    bool flat() const { return m_count == 0; }
    std::span<const BiquadSection> sections() const { return {m_sections.data(), size_t(m_count)}; }

    double levelDb(const EvaluationPoint& point) const;
    double levelDb(double frequency) const { return levelDb(EvaluationPoint::at(frequency)); }

private:
    void add(const BiquadSection& section);

    std::array<BiquadSection, kMaxSections> m_sections{};
    int m_count = 0;
};
