#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "link/device_carrier.h"
#include "link/transports/envelope_assembler.h"
#include "link/transports/hid_frame_channel.h"

class HidBackend;

// Transport type 1: the device on USB HID. A reader thread turns input
// reports back into frames for the link; its running flag is this
// transport's carrier.
class HidTransport : public DeviceCarrier {
public:
    HidTransport(TransportListener& listener, HidBackend& backend);
    ~HidTransport() override;

    bool open() override;
    void sendFrame(const uint8_t* frame, size_t size) override;
    bool carrierUp() const override { return m_readerRunning; }
    void close() override;
    std::string identity() const override { return m_cmd.identity(); }

private:
    void startReader();
    void joinReader();
    void readerLoop(std::stop_token stop);

    TransportListener& m_listener;
    HidFrameChannel m_cmd;
    std::mutex m_writeMutex;
    std::mutex m_readerMutex;
    std::jthread m_reader;
    std::atomic<bool> m_readerRunning{false};
    EnvelopeAssembler m_assembler;
};
