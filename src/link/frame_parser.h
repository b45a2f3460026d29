#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

class Clock;
class DeviceInfo;
class Mirror;
struct LinkState;

// Cuts the byte stream of any transport back into frames and applies each
// valid reply to the link's state. Runs on the receiving transport's reader
// thread; one instance serves all transports.
class FrameParser {
public:
    static constexpr size_t kBufferSize = 8192;
    static constexpr uint32_t kStaleMs = 400;

    using TextSink = std::function<void(const uint8_t* text, size_t size)>;
    using DeviceIdSink = std::function<void(uint32_t idNumber)>;

    FrameParser(const Clock& clock, LinkState& state, Mirror& mirror, DeviceInfo& device);

    void parse(const uint8_t* data, size_t size);
    // Asks the reader thread to drop what it holds before its next chunk.
    void requestReset() { m_resetRequested = true; }

    // Where Module text replies go (the Wi-Fi module's text parser).
    void setModuleTextSink(TextSink sink) { m_moduleText = std::move(sink); }
    // Told of the device ID number when a Device ID reply carries a non-zero one.
    void setDeviceIdSink(DeviceIdSink sink) { m_deviceIdSink = std::move(sink); }

    // The relay bind number that a Relay bind reply must carry.
    void setRelayBindNumber(uint32_t number) { m_relayBindNumber = number; }

    size_t buffered() const { return m_fill; }
    uint64_t framesParsed() const { return m_frames; }

private:
    // Returns how many bytes from the start byte the frame consumes.
    size_t handleFrame(const uint8_t* frame, size_t length);
    bool applyReply(uint8_t command, const uint8_t* payload, size_t size);
    void applyWriteAck(const uint8_t* payload, size_t size);
    void applyParameters(const uint8_t* payload, size_t size);
    void applyModeName(const uint8_t* payload, size_t size);
    void applyDeviceId(const uint8_t* payload, size_t size);
    void applyRelayBind(const uint8_t* payload, size_t size);

    const Clock& m_clock;
    LinkState& m_state;
    Mirror& m_mirror;
    DeviceInfo& m_device;
    TextSink m_moduleText;
    DeviceIdSink m_deviceIdSink;
    std::atomic<uint32_t> m_relayBindNumber{0};

    std::array<uint8_t, kBufferSize> m_buffer{};
    size_t m_fill = 0;
    uint32_t m_previousCall = 0;
    std::atomic<bool> m_resetRequested{false};
    uint64_t m_frames = 0;
};
