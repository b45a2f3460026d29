#pragma once

#include <string>
#include <string_view>

#include "filter/measurement.h"

// Reads the text exports of measurement programs: comment lines starting with
// '*' or '#', at most one header line, then columns frequency, level in dB and
// an optional phase, separated by spaces, tabs, commas or semicolons (a decimal
// comma where the separator is not a comma), in UTF-8 or UTF-16 with a byte
// order mark. A header naming "frequency" and "raw" or "spl" picks those
// columns. Any fault gives one line-numbered message and no measurement.
class MeasurementReader {
public:
    static constexpr int kMaxBytes = 4 << 20;
    static constexpr int kMinPoints = 20;  // between 20 Hz and 20 kHz

    struct Result {
        Measurement measurement;
        std::string error;  // empty when read
        bool ok() const { return error.empty(); }
    };

    static Result read(std::string_view bytes);
    static Result readFile(const std::string& path);
};
