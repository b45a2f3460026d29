#pragma once

#include <string>
#include <vector>

// The printf conversions of a text format ("%%" is not one), so that a format
// is checked before it is ever handed to printf.
class PrintfFormat {
public:
    struct Conversion {
        size_t start = 0;  // the '%'
        size_t end = 0;    // one past the conversion character
        char type = 0;     // the conversion character; 0 when the format ends inside it
        int digits = 0;    // width and precision digits
    };

    static std::vector<Conversion> conversions(const std::string& format);
};
