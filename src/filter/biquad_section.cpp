#include "filter/biquad_section.h"

#include <cmath>

namespace {

struct Trig {
    double s;
    double c;
};

Trig trig(double f) {
    double w = BiquadSection::omega(f);
    return {std::sin(w), std::cos(w)};
}

BiquadSection normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

BiquadSection highPass2(double f, double qDivisor) {
    auto [s, c] = trig(f);
    double alpha = s / (2 * qDivisor);
    return normalised((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

BiquadSection lowPass2(double f, double qDivisor) {
    auto [s, c] = trig(f);
    double alpha = s / (2 * qDivisor);
    return normalised((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

double amplitude(double tenths) {
    return std::pow(10.0, tenths / 400);
}

double shelfSlope(double a, double q) {
    return q > 2 ? std::sqrt(a) * 0.5 : std::sqrt(a) / q;
}

// |x0 + x1 z^-1 + x2 z^-2|^2 on the unit circle, from the real and imaginary
// parts: the expanded sum of squares cancels to nothing near a high-Q pole at
// low frequency, where these parts stay well-conditioned.
double squaredMagnitude(double x0, double x1, double x2, const EvaluationPoint& p) {
    double re = x0 + x1 * p.cos1 + x2 * p.cos2;
    double im = x1 * p.sin1 + x2 * p.sin2;
    return re * re + im * im;
}

}  // namespace

BiquadSection BiquadSection::hp2(double f, double p) {
    return highPass2(f, std::sqrt(p));
}
BiquadSection BiquadSection::lp2(double f, double p) {
    return lowPass2(f, std::sqrt(p));
}
BiquadSection BiquadSection::hpu(double f, double q) {
    return highPass2(f, q);
}
BiquadSection BiquadSection::lpu(double f, double q) {
    return lowPass2(f, q);
}

BiquadSection BiquadSection::hp1(double f) {
    auto [s, c] = trig(f);
    double g = c / (1 + s);
    return {(1 + g) / 2, -(1 + g) / 2, 0, -g, 0};
}

BiquadSection BiquadSection::lp1(double f) {
    auto [s, c] = trig(f);
    double g = c / (1 + s);
    return {(1 - g) / 2, (1 - g) / 2, 0, -g, 0};
}

BiquadSection BiquadSection::peaking(double f, double tenths, double q) {
    auto [s, c] = trig(f);
    double a = amplitude(tenths);
    double alpha = s / (2 * q);
    return normalised(1 + alpha * a, -2 * c, 1 - alpha * a, 1 + alpha / a, -2 * c, 1 - alpha / a);
}

BiquadSection BiquadSection::highShelf(double f, double tenths, double q) {
    auto [s, c] = trig(f);
    double a = amplitude(tenths);
    double beta = shelfSlope(a, q) * s;
    return normalised(a * ((a + 1) + (a - 1) * c + beta), -2 * a * ((a - 1) + (a + 1) * c),
                      a * ((a + 1) + (a - 1) * c - beta), (a + 1) - (a - 1) * c + beta,
                      2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - beta);
}

BiquadSection BiquadSection::lowShelf(double f, double tenths, double q) {
    auto [s, c] = trig(f);
    double a = amplitude(tenths);
    double beta = shelfSlope(a, q) * s;
    return normalised(a * ((a + 1) - (a - 1) * c + beta), 2 * a * ((a - 1) - (a + 1) * c),
                      a * ((a + 1) - (a - 1) * c - beta), (a + 1) + (a - 1) * c + beta,
                      -2 * ((a - 1) + (a + 1) * c), (a + 1) + (a - 1) * c - beta);
}

double BiquadSection::levelDb(const EvaluationPoint& point) const {
    double numerator = squaredMagnitude(b0, b1, b2, point);
    double denominator = squaredMagnitude(1.0, a1, a2, point);
    float m = static_cast<float>(numerator / denominator);
    float root = static_cast<float>(std::sqrt(static_cast<double>(m)));
    float logarithm = static_cast<float>(std::log10(static_cast<double>(root)));
    return 20.0 * logarithm;
}
