#pragma once

#include <optional>
#include <string>
#include <string_view>

// How the band strip turns its four sub-values into the texts of its boxes and
// back. A strip reports what its boxes show, so every value it sends passes
// through these texts.
class BandValueText {
public:
    enum SubValue { Gain = 0, Frequency = 1, Q = 2, Type = 3 };

    struct GainRange {
        double minimum = -24.0;
        double maximum = 12.0;
        double step = 0.1;
    };

    // The text of a box: gain with one decimal; frequency with one decimal
    // below 100 Hz, cut to 5 characters; Q cut to 4 characters. A cut that
    // ends on a decimal point drops the point.
    static std::string text(int sub, double value, int digits = -1);
    // A box's text as a number (a decimal comma reads as a point); nothing
    // for text that is not a number.
    static std::optional<double> parse(std::string_view text);
    // x moved by step (-1, 0, +1) steps and kept to the gain range or the
    // frequency and Q tables.
    static double quantise(int sub, double x, int step, const GainRange& gain);
    static double quantise(int sub, double x, int step);
};
