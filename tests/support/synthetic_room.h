#pragma once

#include <cstdint>

#include "filter/measurement.h"

// A made-up room response for fits, 1 to 3 dB RMS from flat: a tilted line,
// modal peaks and dips of 6 to 15 dB in the bass, a broad bump, a few narrow
// features above and a ripple, from a deterministic pseudo-random seed.
// 1/96-octave points from 10 Hz to 22 kHz.
Measurement syntheticRoom(uint64_t seed);
