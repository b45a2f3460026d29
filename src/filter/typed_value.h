#pragma once

#include <string_view>

// A number as the user typed it into a value box: only the digits, "." and
// "-" count, what they spell is read as a decimal number (nothing readable
// gives 0), multiplied by the divisor, truncated toward zero and clamped.
class TypedValue {
public:
    static int parse(std::string_view text, int divisor, int minimum, int maximum);
    // The same for a value already in hand, as Set value takes it.
    static int scale(double x, int divisor, int minimum, int maximum);
};
