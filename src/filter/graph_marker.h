#pragma once

#include <vector>

// One marker of the response graph: slot 0 the high-pass, slot 1 the
// low-pass, slots 2 ... the equaliser bands.
struct GraphMarker {
    bool enabled = true;
    bool hasQHandles = true;
    double frequency = 1000;    // Hz
    double q = 1.5;             // band Q, or the crossover's user Q
    int gain = 0;               // tenths of a dB, bands only
    int type = 7;               // band type, bands only
    int markerX = 0;            // from the plot's left edge
    int markerY = 0;            // from the 0 dB line, positive downward
    std::vector<double> curve;  // own response per plot column, pixels downward
};
