#pragma once

#include <atomic>

#include "link/transport_type.h"

// How long the link waits for the device, per transport type.
class TimingProfile {
public:
    std::atomic<int> readWait{100};       // each Read parameters batch of a full read
    std::atomic<int> bulkWriteWait{800};  // each Write parameters batch of a preset file
    std::atomic<int> replyWait{200};      // each batch and module command in the steady loop
    std::atomic<int> silenceLimit{1500};  // after this long without a valid frame, sends count as missed
    std::atomic<int> missedLimit{4};

    void setDefaults() { apply(100, 800, 200, 1500, 4); }
    void setForTransport(TransportType type);

private:
    void apply(int read, int bulk, int reply, int silence, int missed);
};
