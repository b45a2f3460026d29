#pragma once

// One equaliser band as a page holds it: type 7 peaking, 6 low shelf, 5 high
// shelf; frequency in Hz, gain in dB.
struct EqBand {
    int type = 7;
    double frequency = 1000;
    double q = 0.71;
    double gain = 0;

    bool operator==(const EqBand&) const = default;
};
