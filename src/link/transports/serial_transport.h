#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/transport.h"

class Link;
class SerialLine;

// The serial types (0 serial port, 3 Bluetooth serial): frames go over the
// line unchanged. The connect routine tries the ports of its list in turn
// and keeps the first on which the device answers; a reader thread feeds
// the link. "Connected" means a port is open.
class SerialTransport : public Transport {
public:
    // The ports to try, in order; asked again whenever the list has been tried to its end.
    using PortSource = std::function<std::vector<std::string>()>;

    static constexpr uint32_t kWriteTimeoutMs = 1000;

    SerialTransport(Link& link, PortSource ports);
    ~SerialTransport() override;

    void connect(Handshake& handshake) override;
    void sendFrame(const uint8_t* frame, size_t size) override;
    bool isConnected() const override { return m_open; }
    // Wakes the reader and waits for it, unless called by the reader itself.
    void close() override;
    std::string identity() const override { return currentPort(); }

    // Closes the open port, then opens path and starts the reader.
    bool open(const std::string& path);
    std::string currentPort() const;
    // Chunks handed to the frame parser so far.
    uint64_t chunksRead() const { return m_chunks; }

private:
    bool tryPort(const std::string& path, Handshake& handshake);
    void readerLoop(SerialLine* line);

    Link& m_link;
    TransportListener& m_listener;
    PortSource m_ports;
    std::vector<std::string> m_list;  // the supervisor thread's own
    size_t m_cursor = 0;

    mutable std::mutex m_mutex;  // the line's lifetime, its writes and the reader handle
    std::unique_ptr<SerialLine> m_line;
    std::string m_path;
    std::jthread m_reader;
    std::atomic<bool> m_open{false};
    std::atomic<uint64_t> m_chunks{0};
};
