#pragma once

#include <array>
#include <cstdint>

// The parameter memory the simulated device starts with: plausible values for
// every page, so that a program connected to it shows a sensible setup.
// Every value is encoded the way the device stores it, and the right channel of
// each output pair already equals its left partner wherever the two are linked.
class SimMemory {
public:
    static constexpr int kParameters = 1746;
    static constexpr int kModes = 16;
    using Memory = std::array<uint16_t, kParameters>;

    // The factory setup: a 7.1 home theatre with two karaoke microphones,
    // playing from HDMI1, mode 1 current.
    static Memory defaults();
    // Stored mode n (1 to 16), a complete memory whose current-mode entry
    // is n; each has its own character ("K Song" more echo, "Movie" more
    // subwoofer, ...). Any other n gives the defaults.
    static Memory mode(int n);
    // The name stored with mode n (1 to 16); empty for any other n.
    static const char* modeName(int n);
};
