#pragma once

#include "filter/evaluation_point.h"

// One second-order (or first-order, b2 = a2 = 0) section of the processor at
// 48 kHz: H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2).
struct BiquadSection {
    static constexpr double kSampleRate = 48000.0;
    static constexpr double kTwoPi = 6.28318530717958;  // as the processor has it

    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a1 = 0.0;
    double a2 = 0.0;

    static double omega(double frequency) { return kTwoPi * frequency / kSampleRate; }

    // p is the square of the section's Q.
    static BiquadSection hp2(double f, double p);
    static BiquadSection lp2(double f, double p);
    static BiquadSection hpu(double f, double q);
    static BiquadSection lpu(double f, double q);
    static BiquadSection hp1(double f);
    static BiquadSection lp1(double f);
    // Equaliser bands; tenths is the gain in tenths of a dB.
    static BiquadSection peaking(double f, double tenths, double q);
    static BiquadSection highShelf(double f, double tenths, double q);
    static BiquadSection lowShelf(double f, double tenths, double q);

    // Level in dB; the squared magnitude, its root and the logarithm each pass
    // through single precision, as on the processor.
    double levelDb(const EvaluationPoint& point) const;
    double levelDb(double frequency) const { return levelDb(EvaluationPoint::at(frequency)); }
};
