#pragma once

#include <cstdint>

#include "filter/sorted_table.h"

// The device's frequency grid: 363 frequencies a 36th of an octave apart, and
// its 16-bit frequency code (0x8000 plus tenths of a hertz below 100 Hz,
// whole hertz from there on, 0x8000 alone meaning off). The three tables share
// entries 19.7 ... 20600 and differ in what stands below them.
class FrequencyTable {
public:
    static constexpr int kSize = 363;
    static constexpr int kSnapSize = 364;
    static constexpr int kLast = kSize - 1;
    static constexpr uint16_t kOffCode = 32768;
    static constexpr double kMinimum = 19.7;
    static constexpr double kBandMinimum = 10.5;
    static constexpr double kMaximum = 20600.0;
    static constexpr int kUpperBase = 298;  // 5990 Hz

    // 10.5 first: the band strip's table.
    static SortedTable band();
    // 19.3 first, standing for off: the device's grid and the crossover sliders.
    static SortedTable grid();
    // 19.0 first and 20600 repeated at the end: what the graph snaps to.
    static SortedTable snap();

    // Smallest index whose frequency is not below x; the last index above the grid.
    static int gridIndex(double x);
    // The grid frequency at the rounded index, wrapping around the grid.
    static double gridFrequency(double index);
    // Index counted from 5990 Hz, for sliders that cover only the top of the grid.
    static int upperGridIndex(double x);
    static double upperGridFrequency(double index);
    // x (a frequency, or a frequency code of a value below 100 Hz) on the grid;
    // below 19.7 Hz it is off (19.3).
    static double snapToGrid(double x);
    // Code of the grid point of x (a frequency or a code as for snapToGrid).
    static uint16_t frequencyCode(double x);
    // Code of a frequency as it is, to a tenth of a hertz below 100 Hz.
    static uint16_t codeOf(double frequency);
    // Frequency of a code; 0 for the off code.
    static double frequencyOfCode(uint16_t code);
};
