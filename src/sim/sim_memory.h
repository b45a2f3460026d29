#pragma once

#include <array>
#include <cstdint>

// The parameter memory the simulated device starts with: plausible values for
// every page, so that a program connected to it shows a sensible setup.
class SimMemory {
public:
    static constexpr int kParameters = 1746;
    using Memory = std::array<uint16_t, kParameters>;

    static Memory defaults();
    // Stored preset n (1 to 16): the defaults with a few audible differences.
    static Memory preset(int n);
};
