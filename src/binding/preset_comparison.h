#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What differs between two sets of the device's parameters, named as the
// window shows them: the page and the field in the current language, both
// values in their display units. Parameters that a preset does not carry
// (the device's own state) are not compared.
class PresetComparison {
public:
    struct Difference {
        int index = 0;
        std::string page;   // empty for a parameter no page shows
        std::string field;  // "band 3 gain", or "parameter 1201"
        uint16_t before = 0;
        uint16_t after = 0;
        std::string beforeText;  // "+2.0 dB"
        std::string afterText;

        // "Main / band 3 gain: +2.0 dB → −1.5 dB"
        std::string line() const;
    };

    // Both hold the parameters from index 0 on; indices beyond either are not compared.
    static std::vector<Difference> compare(const std::vector<uint16_t>& a,
                                           const std::vector<uint16_t>& b);
};
