#pragma once

#include <optional>
#include <string_view>

// A number as the user typed it into a value box: an optional sign, digits
// with a decimal point or comma, and at most a unit after them ("-3,5 dB").
// Anything else is not a number and is refused rather than guessed at.
class TypedValue {
public:
    static std::optional<double> number(std::string_view text);
    // The number multiplied by the divisor, truncated toward zero and clamped.
    static std::optional<int> parse(std::string_view text, int divisor, int minimum, int maximum);
    // The same for a value already in hand, as Set value takes it.
    static int scale(double x, int divisor, int minimum, int maximum);
};
