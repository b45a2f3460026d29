#include "filter/fit_target.h"

#include <cmath>
#include <utility>

namespace {

constexpr double kBassTop = 200.0;
constexpr double kTiltStart = 1000.0;
constexpr double kBassFrequency = 20.0;

}  // namespace

FitTarget FitTarget::house(double bassDb, double tiltDbPerOctave) {
    FitTarget t;
    t.m_kind = Kind::House;
    t.m_bass = bassDb;
    t.m_tilt = tiltDbPerOctave;
    return t;
}

FitTarget FitTarget::file(Measurement levels) {
    FitTarget t;
    t.m_kind = Kind::File;
    t.m_levels = std::move(levels);
    return t;
}

double FitTarget::shape(double f) const {
    switch (m_kind) {
        case Kind::Flat:
            return 0;
        case Kind::File:
            return m_levels.levelAt(f);
        case Kind::House:
            if (f < kBassTop)
                return m_bass * std::log(kBassTop / f) / std::log(kBassTop / kBassFrequency);
            if (f <= kTiltStart) return 0;
            return -m_tilt * std::log2(f / kTiltStart);
    }
    return 0;
}
