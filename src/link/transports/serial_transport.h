#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/port_carrier.h"

class SerialLine;

// The serial types (0 serial port, 3 Bluetooth serial): frames go over the
// line unchanged. A reader thread feeds the link. The carrier is up while
// a port is open.
class SerialTransport : public PortCarrier {
public:
    // The ports to try, in order.
    using PortSource = std::function<std::vector<std::string>()>;

    static constexpr uint32_t kWriteTimeoutMs = 1000;

    SerialTransport(TransportListener& listener, PortSource ports);
    ~SerialTransport() override;

    std::vector<std::string> ports() override {
        return m_ports ? m_ports() : std::vector<std::string>{};
    }
    void sendFrame(const uint8_t* frame, size_t size) override;
    bool carrierUp() const override { return m_open; }
    // Wakes the reader and waits for it, unless called by the reader itself.
    void close() override;
    std::string identity() const override { return currentPort(); }

    bool open(const std::string& path) override;
    std::string currentPort() const;
    // Chunks handed to the frame parser so far.
    uint64_t chunksRead() const { return m_chunks; }

private:
    void readerLoop(SerialLine* line);

    TransportListener& m_listener;
    PortSource m_ports;

    mutable std::mutex m_mutex;  // the line's lifetime, its writes and the reader handle
    std::unique_ptr<SerialLine> m_line;
    std::string m_path;
    std::jthread m_reader;
    std::atomic<bool> m_open{false};
    std::atomic<uint64_t> m_chunks{0};
};
