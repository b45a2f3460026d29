#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/net/name_lookup.h"
#include "update/update_packet.h"

class Clock;
class LinkUi;
class TcpStream;
class UpdateInstaller;
struct TextTriple;

// The software-update worker: every 10 s it asks the configured update server
// over UDP whether a newer version exists; if so and the user agrees, it
// downloads it over TCP into the cache folder, has it verified and installed
// (UpdateInstaller), starts it and asks the program to end. Without a server
// configured it never starts, so the program sends nothing anywhere.
class UpdateWorker {
public:
    static constexpr uint16_t kPort = 24502;
    static constexpr size_t kChunk = 1400;
    // Larger downloads are refused before a byte of them is stored.
    static constexpr uint64_t kMaxDownload = uint64_t{256} << 20;
    // A download ends within the deadline, and below the rate over any
    // window it is given up.
    static constexpr uint32_t kDownloadDeadlineMs = 20 * 60 * 1000;
    static constexpr uint32_t kRateWindowMs = 15000;
    static constexpr uint64_t kMinBytesPerWindow = 60 * 1024;
    // How long the new program has to confirm that it runs.
    static constexpr uint32_t kConfirmWaitMs = 15000;

    struct Config {
        std::string host;  // empty: no update server, no worker
        uint16_t port = kPort;
        std::string cacheFolder;  // where the download waits for its check
        std::string executable;   // the program to replace
        std::vector<uint8_t> publicKey;
        uint32_t fileVersion = 0;  // major * 65536 + minor
        UpdatePacket::MachineId machine{};
        // What the new program is started with: the same transport options.
        std::vector<std::string> arguments;
        // The instance lock goes to the new program, and comes back when it
        // did not start.
        std::function<void()> releaseLock;
        std::function<void()> retakeLock;
        // How the host name becomes an address (tests give their own).
        NameLookup::Resolver resolve = SocketAddress::resolve;
    };

    // How the worker ended, for the caller and tests.
    enum class End {
        Running,
        Cancelled,
        UpdatesOff,  // no key built in: nothing is asked or fetched
        SameMachine,
        Declined,
        NotVerified,
        OtherPlatform,
        NotNewer,
        NotWritable,
        Failed,
        NotStarted,  // the new program did not start; the old one is back
        Installed
    };

    // quit is called (on the worker's thread) after the new program has started.
    UpdateWorker(LinkUi& ui, const Clock& clock, Config config, std::function<void()> quit);
    ~UpdateWorker();
    UpdateWorker(const UpdateWorker&) = delete;
    UpdateWorker& operator=(const UpdateWorker&) = delete;

    // False, and nothing started, when no server is configured. Without a
    // key the worker only says that updates are off.
    bool start();
    // Ends the worker at its next wait, also during a name lookup that hangs;
    // returns when its thread has ended.
    void cancel();
    bool running() const { return m_running; }
    End end() const { return m_end; }
    uint64_t queries() const { return m_queries; }
    uint64_t downloads() const { return m_downloads; }

    // "host" or "host:port" as a setting or option gives them.
    static bool parseServer(const std::string& text, std::string& host, uint16_t& port);

private:
    void run();
    End loop();
    std::optional<End> exchange(const SocketAddress& server);
    std::optional<End> answer(const UpdatePacket& packet, const SocketAddress& server);
    std::optional<End> downloadAndInstall(const SocketAddress& server,
                                          const std::vector<uint8_t>& token);
    bool connect(TcpStream& stream, const SocketAddress& server);
    bool download(TcpStream& stream, const std::string& path);
    bool receiveFile(TcpStream& stream, FILE* file, uint64_t count, uint64_t size);
    End install(const std::string& path);
    End startInstalled(const UpdateInstaller& installer);
    void tell(const TextTriple& text);
    std::vector<uint8_t> query(const SocketAddress& server);
    std::chrono::steady_clock::time_point deadlineIn(uint32_t ms) const;
    // Real milliseconds of the next wait before the deadline, in short slices
    // so that a cancel is seen; 0 once it has passed.
    static uint32_t sliceBefore(std::chrono::steady_clock::time_point deadline);
    // What receive(ms) got: bytes, -1 when the peer ended, 0 at the deadline
    // or on cancel.
    long receiveBy(const std::function<long(uint32_t ms)>& receive,
                   std::chrono::steady_clock::time_point deadline) const;
    // False when cancelled.
    bool pause(uint32_t ms);
    bool cancelled() const { return m_cancel.load(); }
    // Cancelled, or the user pressed Cancel on the download's progress.
    bool stopped() const;

    LinkUi& m_ui;
    const Clock& m_clock;
    Config m_config;
    std::function<void()> m_quit;
    std::jthread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_cancel{false};
    std::atomic<End> m_end{End::Running};
    std::atomic<uint64_t> m_queries{0};
    std::atomic<uint64_t> m_downloads{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
};
