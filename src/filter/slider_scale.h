#pragma once

#include <string>
#include <utility>

// The value arithmetic of the horizontal value slider: whole steps at and above
// the fine-step threshold, tenths below it, always inside minimum ... maximum.
struct SliderScale {
    double minimum = 0;
    double maximum = 100;
    double threshold = 0;
    double fineStep = 0.1;

    double clamp(double x) const;
    double quantise(double x) const;
    double stepUp(double value) const;
    double stepDown(double value) const;
    // Thumb centre for a value between the track's ends, and the value under a pointer.
    double position(double value, double trackStart, double trackEnd) const;
    double valueAt(double x, double trackStart, double trackEnd) const;

    // A label format with one numeric conversion, filled with the value: an
    // integer conversion gets the value truncated. Formats with another number
    // of conversions, or conversions that take no number, come back as they are.
    static std::string formatLabel(const std::string& format, double value);
    // The label's left part, up to and including the first colon, and the rest.
    static std::pair<std::string, std::string> splitLabel(const std::string& text);
};
