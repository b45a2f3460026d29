#include "link/transports/hid_writer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>

struct HidWriter::Shared {
    std::mutex mutex;
    std::condition_variable_any changed;
    std::shared_ptr<HidDevice> device;
    std::array<uint8_t, HidDevice::kReportSize> report{};
    uint32_t timeoutMs = 0;
    uint64_t issued = 0;
    uint64_t started = 0;
    uint64_t completed = 0;
    bool ok = false;

    bool busy() const { return completed != issued; }
};

HidWriter::HidWriter() : m_shared(std::make_shared<Shared>()) {
    m_thread = std::jthread(run, m_shared);
}

HidWriter::~HidWriter() {
    bool stuckNow;
    {
        std::lock_guard lock(m_shared->mutex);
        stuckNow = m_shared->started != m_shared->completed;
    }
    m_thread.request_stop();
    if (stuckNow)
        m_thread.detach();
    else
        m_thread.join();
}

bool HidWriter::stuck() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->busy();
}

bool HidWriter::write(const std::shared_ptr<HidDevice>& device, const uint8_t* report,
                      uint32_t timeoutMs) {
    Shared& s = *m_shared;
    std::unique_lock lock(s.mutex);
    if (s.busy() || !device) return false;
    s.device = device;
    std::copy_n(report, s.report.size(), s.report.begin());
    s.timeoutMs = timeoutMs;
    const uint64_t ticket = ++s.issued;
    s.changed.notify_all();
    // The time-out counts from the start of the write, not from the hand-over.
    auto limit = std::chrono::milliseconds(timeoutMs);
    if (!s.changed.wait_for(lock, limit, [&] { return s.started == ticket; })) return false;
    if (!s.changed.wait_for(lock, limit, [&] { return s.completed == ticket; })) return false;
    return s.ok;
}

void HidWriter::run(std::stop_token stop, const std::shared_ptr<Shared>& shared) {
    Shared& s = *shared;
    std::unique_lock lock(s.mutex);
    while (true) {
        if (!s.changed.wait(lock, stop, [&] { return s.started != s.issued; })) return;
        const uint64_t ticket = s.issued;
        std::shared_ptr<HidDevice> device = std::move(s.device);
        std::array<uint8_t, HidDevice::kReportSize> report = s.report;
        const uint32_t timeoutMs = s.timeoutMs;
        s.started = ticket;
        s.changed.notify_all();
        lock.unlock();
        bool ok = device->writeReport(report.data(), report.size(), timeoutMs);
        device.reset();
        lock.lock();
        s.ok = ok;
        s.completed = ticket;
        s.changed.notify_all();
    }
}
