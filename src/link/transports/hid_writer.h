#pragma once

#include <cstdint>
#include <memory>
#include <stop_token>
#include <thread>

#include "link/transports/hid_device.h"

// Writes reports on a thread of its own, so that a write that the device
// never completes cannot hold up the link: the caller waits up to its time-out
// and goes on with a failure, the write is abandoned, and every later write
// fails at once until the abandoned one has returned. A thread still stuck in
// a write when this object goes is left to end whenever the system lets it; it
// owns everything it touches.
class HidWriter {
public:
    HidWriter();
    ~HidWriter();
    HidWriter(const HidWriter&) = delete;
    HidWriter& operator=(const HidWriter&) = delete;

    // One kReportSize report; false when it failed, did not complete within
    // timeoutMs, or an earlier write is still stuck.
    bool write(const std::shared_ptr<HidDevice>& device, const uint8_t* report, uint32_t timeoutMs);
    // Whether an abandoned write has not returned yet.
    bool stuck() const;

private:
    struct Shared;
    static void run(std::stop_token stop, const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> m_shared;
    std::jthread m_thread;
};
