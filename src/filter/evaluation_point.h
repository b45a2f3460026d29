#pragma once

// A frequency at which responses are read, kept as z^-1 and z^-2 on the unit
// circle (cos and sin of w and 2w), so that many sections can be read at the
// same frequency without repeating the trigonometry.
struct EvaluationPoint {
    double cos1 = 1.0;  // cos(w)
    double sin1 = 0.0;  // sin(w)
    double cos2 = 1.0;  // cos(2w)
    double sin2 = 0.0;  // sin(2w)

    static EvaluationPoint at(double frequency);
};
