#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

// Reassembles input reports into envelopes and hands each envelope's frame
// over once it is complete. A report that starts with the envelope header
// begins a new envelope; any other report continues the current one.
class EnvelopeAssembler {
public:
    static constexpr size_t kBufferSize = 1024;
    static constexpr size_t kRestartAt = 960;  // a continuation beyond this restarts the buffer

    using FrameSink = std::function<void(const uint8_t* frame, size_t size)>;

    explicit EnvelopeAssembler(FrameSink sink) : m_sink(std::move(sink)) {}

    // The report data without its identifier.
    void add(const uint8_t* data, size_t size);
    void reset();

private:
    FrameSink m_sink;
    std::array<uint8_t, kBufferSize> m_buffer{};
    size_t m_fill = 0;
    size_t m_expected = 0;
};
