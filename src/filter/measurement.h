#pragma once

#include <vector>

// A frequency response as a measurement program exports it: frequencies in Hz,
// strictly rising, and the level in dB at each.
struct Measurement {
    std::vector<double> frequency;
    std::vector<double> level;

    bool empty() const { return frequency.empty(); }
    // Linear in log frequency between points, the end values beyond them.
    double levelAt(double f) const;
};
