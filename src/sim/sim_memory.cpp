#include "sim_memory.h"

SimMemory::Memory SimMemory::defaults() {
    Memory m{};
    m[0] = 22356;
    // Until the page map is filled in: a recognisable, non-zero pattern.
    for (int i = 1; i < kParameters; ++i) m[i] = static_cast<uint16_t>((i * 37) % 1000);
    m[1628] = 1;
    m[1629] = 0;
    m[1630] = 0;
    return m;
}

SimMemory::Memory SimMemory::preset(int n) {
    Memory m = defaults();
    for (int i = 1; i < kParameters; i += 17) m[i] = static_cast<uint16_t>(m[i] + n);
    m[1628] = static_cast<uint16_t>(n);
    return m;
}
