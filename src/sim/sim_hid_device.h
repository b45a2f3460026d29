#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "link/transports/envelope_assembler.h"
#include "link/transports/hid_device.h"
#include "sim/sim_device.h"

class Clock;

// An open handle on the simulated device's USB side: output reports are
// reassembled into request frames, replies come back as input reports at the
// times the device and its faults give them, and what the device says unasked
// comes back at once.
class SimHidDevice : public HidDevice {
public:
    SimHidDevice(SimDevice& device, const Clock& clock);
    ~SimHidDevice() override;
    SimHidDevice(const SimHidDevice&) = delete;
    SimHidDevice& operator=(const SimHidDevice&) = delete;

    bool writeReport(const uint8_t* report, size_t size, uint32_t timeoutMs) override;
    int readReport(uint8_t* report, size_t size, uint32_t timeoutMs) override;

private:
    using TimePoint = std::chrono::steady_clock::time_point;
    struct Pending {
        TimePoint due;
        std::vector<uint8_t> report;
    };

    bool alive() const;
    void deliver(const uint8_t* frame, size_t size);
    void sayUnasked();
    void queue(const std::vector<SimDevice::Reply>& replies);
    // Holds a write until the device lets writes complete again; true when it was held.
    bool heldWrite();

    SimDevice& m_device;
    const Clock& m_clock;
    const uint64_t m_generation;
    const std::shared_ptr<SimDevice::WriteHold> m_hold;
    EnvelopeAssembler m_requests;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<Pending> m_queue;
    TimePoint m_lastDue;
    const std::shared_ptr<SimListeners> m_unaskedListeners;
    int m_unaskedListener = 0;
};
