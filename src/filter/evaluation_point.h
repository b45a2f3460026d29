#pragma once

// A frequency at which responses are read, kept as the two cosines that the
// magnitude of a second-order section needs, so that many sections can be read
// at the same frequency without repeating the trigonometry.
struct EvaluationPoint {
    double cos1 = 1.0;  // cos(w)
    double cos2 = 1.0;  // cos(2w)

    static EvaluationPoint at(double frequency);
};
