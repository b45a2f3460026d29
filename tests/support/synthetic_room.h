#pragma once

#include <cstdint>

#include "filter/measurement.h"

// A made-up room response for fits: a tilted line with more modal peaks and
// dips in the bass than a page has bands, broader bumps above and a ripple, from a
// deterministic pseudo-random seed. 1/96-octave points from 10 Hz to 22 kHz.
Measurement syntheticRoom(uint64_t seed);
