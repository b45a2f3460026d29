#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The device's loader: takes an upgrade start for package types 1 to 5,
// assembles the image from numbered 256-byte blocks that must come in order
// (a repeated block must carry what it carried before), and at the finish
// accepts only an image without holes or contradictions. Not thread-safe:
// the simulated device calls it under its own lock.
class SimLoader {
public:
    static constexpr size_t kBlock = 256;

    struct Faults {
        int refusedStarts = 0;          // this many starts are refused first
        int64_t wrongNumberBlock = -1;  // this block is answered with another number...
        int wrongNumberTimes = 0;       // ...this many times
        int64_t silentBlock = -1;       // this block is not answered...
        int silentTimes = 0;            // ...this many times
    };

    struct Report {
        int type = 0;                // of the last accepted start, 0 before any
        bool finished = false;       // the last finish was accepted
        bool consistent = true;      // no block contradicted an earlier copy of itself
        std::vector<uint8_t> image;  // as assembled, a whole number of blocks
        uint64_t blocks = 0;         // block frames answered since the start
    };

    // The status byte that answers a start: type + 0x80, or 0 when refused.
    uint8_t start(uint8_t type);
    // The number that answers a block, or nothing for no answer at all.
    std::optional<uint32_t> block(uint32_t number, const uint8_t* data, size_t size);
    // 0xFF when the image is complete and consistent, else 0.
    uint8_t finish();

    void setFaults(const Faults& faults) { m_faults = faults; }
    const Faults& faults() const { return m_faults; }
    const Report& report() const { return m_report; }

private:
    Faults m_faults;
    Report m_report;
    bool m_started = false;
};
