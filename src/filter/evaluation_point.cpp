#include "filter/evaluation_point.h"

#include <cmath>

#include "filter/biquad_section.h"

EvaluationPoint EvaluationPoint::at(double frequency) {
    double w = BiquadSection::omega(frequency);
    return {std::cos(w), std::cos(2 * w)};
}
