#pragma once

#include "filter/measurement.h"

// The response a fit aims at, as a shape: flat, a house curve (a bass rise of
// B dB at 20 Hz falling linearly in log frequency to 0 at 200 Hz, flat to
// 1 kHz, then T dB per octave down), or the levels of a file. The fit places
// it at the measurement's mean level over 200 Hz to 2 kHz.
class FitTarget {
public:
    static constexpr double kAnchorLow = 200.0;
    static constexpr double kAnchorHigh = 2000.0;

    static FitTarget flat() { return FitTarget(); }
    static FitTarget house(double bassDb = 4.0, double tiltDbPerOctave = 1.0);
    static FitTarget file(Measurement levels);

    // The shape's level at f, before it is placed.
    double shape(double f) const;

private:
    enum class Kind { Flat, House, File };

    Kind m_kind = Kind::Flat;
    double m_bass = 0;
    double m_tilt = 0;
    Measurement m_levels;
};
