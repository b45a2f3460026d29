#include "filter/evaluation_point.h"

#include <cmath>

#include "filter/biquad_section.h"

EvaluationPoint EvaluationPoint::at(double frequency) {
    double w = BiquadSection::omega(frequency);
    double s = std::sin(w);
    double c = std::cos(w);
    // 1 - 2 s^2 rather than 2 c^2 - 1 keeps cos(2w) exact near w = 0.
    return {c, s, 1 - 2 * s * s, 2 * s * c};
}
