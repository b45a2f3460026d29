#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One serial device opened the way the link needs it: 128000 baud, 8 data
// bits, no parity, one stop bit, no flow control, raw, exclusive and
// non-blocking. The only place that touches the terminal interface.
class SerialLine {
public:
    static constexpr uint32_t kBaud = 128000;

    // What read() returns besides a byte count.
    static constexpr long kNothing = 0;
    static constexpr long kGone = -1;       // the device went away or hung up
    static constexpr long kLineError = -2;  // anything else; the line was purged

    enum class Wait { Readable, Interrupted, Timeout, Gone };

    // The line settings as the device reports them.
    struct Settings {
        uint32_t inputBaud = 0;
        uint32_t outputBaud = 0;
        int dataBits = 0;
        bool parity = false;
        int stopBits = 0;
        bool hardwareFlow = false;
        bool softwareFlow = false;
        bool raw = false;
        bool exclusive = false;
    };

    SerialLine() = default;
    ~SerialLine();
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // Closes what is open, then opens and configures path; both directions
    // are purged. On failure nothing stays open and error() tells why.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    const std::string& error() const { return m_error; }

    // Waits until bytes can be read, the line hangs up, interrupt() is
    // called, or timeoutMs passes.
    Wait waitReadable(uint32_t timeoutMs);
    // Wakes one waitReadable(), now or the next time it is called. Any thread.
    void interrupt();
    // What the input queue holds, at most size bytes; or one of the constants above.
    long read(uint8_t* data, size_t size);
    // All bytes, or false when the line failed or stayed full for timeoutMs.
    bool write(const uint8_t* data, size_t size, uint32_t timeoutMs);
    void purge();

    Settings settings() const;

private:
    bool configure();
    bool fail(const char* what);

    int m_fd = -1;
    int m_wake[2] = {-1, -1};
    std::string m_error;
};
