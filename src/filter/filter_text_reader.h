#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "filter/eq_band.h"

// Reads the filter text files that room-measurement programs write
// ("Filter 1: ON PK Fc 1000 Hz Gain -3.5 dB Q 4.32"). Every value is moved
// onto what a band can hold (frequency grid, Q table, gain range and step)
// and every move, every filter left out and every line not understood is
// reported with its line number, in the current language. Nothing is applied
// here: the caller has the whole file before it writes anything.
class FilterTextReader {
public:
    static constexpr int kMaxBytes = 1 << 20;
    // Messages of one kind reported one by one; the rest are counted.
    static constexpr int kMaxOfEachKind = 20;

    struct Filter {
        EqBand band;
        int line = 0;    // from 1
        int number = 0;  // the file's filter number
    };

    struct Result {
        std::vector<Filter> filters;  // at most the band count, in file order
        std::vector<std::string> messages;
        bool readable = true;  // false: the file as a whole was refused
    };

    struct GainRange {
        double minimum = -24.0;
        double maximum = 12.0;
    };

    static Result read(std::string_view bytes, int bandCount, GainRange gain);
    static Result read(std::string_view bytes, int bandCount) { return read(bytes, bandCount, {}); }
    static Result readFile(const std::string& path, int bandCount);

    // The text as UTF-8: a UTF-16 file with its byte order mark is converted,
    // a UTF-8 byte order mark dropped.
    static std::string decoded(std::string_view bytes);
};
