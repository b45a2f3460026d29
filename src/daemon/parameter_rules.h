#pragma once

#include <string>

// Which values a client may write to a parameter: the ranges of the window's
// field catalogue for the field that shows the index, and none at all to
// what belongs to the device (its state, passwords, the preset words).
class ParameterRules {
public:
    struct Range {
        int low = 0;
        int high = 0xFFFF;
    };
    // Empty when value may be written to index, else why not.
    static std::string refusal(int index, long value);
    static bool writable(int index);
    // The range of the field that shows index; the full 16 bits when none limits it.
    static Range range(int index);
};
