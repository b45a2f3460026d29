#include "sim/sim_hid_device.h"

#include <algorithm>

#include "link/transports/hid_envelope.h"
#include "platform/clock.h"
#include "sim/sim_device.h"

SimHidDevice::SimHidDevice(SimDevice& device, const Clock& clock)
    : m_device(device),
      m_clock(clock),
      m_generation(device.generation()),
      m_hold(device.writeHold()),
      m_requests([this](const uint8_t* frame, size_t size) { deliver(frame, size); }),
      m_lastDue(std::chrono::steady_clock::now()),
      m_unaskedListeners(device.unaskedListeners()) {
    m_unaskedListener = m_unaskedListeners->add([this] { sayUnasked(); });
}

SimHidDevice::~SimHidDevice() {
    m_unaskedListeners->remove(m_unaskedListener);
}

bool SimHidDevice::alive() const { return !m_device.faults().absent && m_device.generation() == m_generation; }

// Touches only the hold once held: the device may be gone when it is released.
bool SimHidDevice::heldWrite() {
    uint64_t seen;
    {
        std::lock_guard lock(m_hold->mutex);
        seen = m_hold->releases;
    }
    if (!m_device.faults().stuckWrites) return false;
    std::unique_lock lock(m_hold->mutex);
    m_hold->released.wait(lock, [&] { return m_hold->releases != seen; });
    return true;
}

bool SimHidDevice::writeReport(const uint8_t* report, size_t size, uint32_t) {
    if (heldWrite()) return false;
    if (!alive() || size != kReportSize) return false;
    m_requests.add(report + 1, size - 1);
    return true;
}

void SimHidDevice::deliver(const uint8_t* frame, size_t size) {
    queue(m_device.receive(frame, size));
}

// A handle of an older generation is dead: what is said now is for the new one.
void SimHidDevice::sayUnasked() {
    if (alive()) queue(m_device.takeUnasked());
}

void SimHidDevice::queue(const std::vector<SimDevice::Reply>& replies) {
    if (replies.empty()) return;
    SimFaults faults = m_device.faults();
    std::lock_guard lock(m_mutex);
    TimePoint due = std::max(m_lastDue, std::chrono::steady_clock::now());
    for (const SimDevice::Reply& reply : replies) {
        due += m_clock.realDuration(reply.delayMs);
        std::vector<uint8_t> reports = HidEnvelope::reports(reply.bytes.data(), reply.bytes.size());
        for (size_t at = 0; at < reports.size(); at += kReportSize) {
            if (at > 0 && faults.chunkSize > 0) due += m_clock.realDuration(faults.chunkDelayMs);
            m_queue.push_back({due, std::vector<uint8_t>(reports.begin() + static_cast<long>(at),
                                                         reports.begin() + static_cast<long>(at + kReportSize))});
        }
    }
    m_lastDue = due;
    m_arrived.notify_all();
}

int SimHidDevice::readReport(uint8_t* report, size_t size, uint32_t timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + m_clock.realDuration(timeoutMs);
    std::unique_lock lock(m_mutex);
    while (true) {
        if (!alive()) return -1;
        auto now = std::chrono::steady_clock::now();
        if (!m_queue.empty() && m_queue.front().due <= now) {
            size_t n = std::min(size, m_queue.front().report.size());
            std::copy_n(m_queue.front().report.begin(), n, report);
            m_queue.pop_front();
            return static_cast<int>(n);
        }
        if (now >= deadline) return 0;
        auto wake = m_queue.empty() ? deadline : std::min(deadline, m_queue.front().due);
        m_arrived.wait_until(lock, wake);
    }
}
