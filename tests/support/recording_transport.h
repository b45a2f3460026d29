#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/device_carrier.h"

// Passes everything to the real USB transport and remembers each frame sent,
// stamped with a number the test chooses (e.g. the steady-loop iteration) at
// the moment of sending, on the sending thread.
class RecordingTransport : public DeviceCarrier {
public:
    struct Sent {
        std::vector<uint8_t> frame;
        uint64_t stamp;
    };

    RecordingTransport(std::unique_ptr<DeviceCarrier> inner, std::function<uint64_t()> stamp);

    bool open() override { return m_inner->open(); }
    void sendFrame(const uint8_t* frame, size_t size) override;
    bool carrierUp() const override { return m_inner->carrierUp(); }
    void close() override { m_inner->close(); }
    std::string identity() const override { return m_inner->identity(); }

    std::vector<Sent> sent() const;
    // Called on the sending thread after each frame went on; set before the link starts.
    void setAfterSend(std::function<void(const std::vector<uint8_t>&)> after) {
        m_afterSend = std::move(after);
    }

private:
    std::unique_ptr<DeviceCarrier> m_inner;
    std::function<uint64_t()> m_stamp;
    std::function<void(const std::vector<uint8_t>&)> m_afterSend;
    mutable std::mutex m_mutex;
    std::vector<Sent> m_sent;
};
