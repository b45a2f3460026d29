#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "link/link_job.h"
#include "link/link_state.h"

class Link;

// The one thread that owns the conversation with the device: it connects,
// proves the device, checks that no other controller holds it, reads the whole
// parameter memory, then keeps the mirror and the device in step, runs the
// jobs that the user interface requests, and starts over when the device is lost.
class LinkSupervisor {
public:
    using Job = std::function<void()>;
    // A step of the steady loop that sends at most one queued module text
    // command; returns whether it sent one.
    using ModuleStep = std::function<bool()>;

    explicit LinkSupervisor(Link& link);
    ~LinkSupervisor();

    // The transport type selected at start (USB HID unless told otherwise).
    void setInitialTransportType(TransportType type) { m_initialType = type; }
    TransportType initialTransportType() const { return m_initialType; }
    void setJob(LinkJob kind, Job job);
    // Any thread: queues the job unless it is queued already. A job asked for
    // while the device is away waits for the next connection.
    void requestJob(LinkJob kind);
    bool jobQueued(LinkJob kind) const;
    // From any thread: ends the current search or connection and goes on with
    // the transport of this type; false when the link has none of it.
    bool requestTransport(TransportType type);
    void setModuleStep(ModuleStep step) { m_moduleStep = std::move(step); }

    // Returns false when the thread could not be created (after telling the user).
    bool start();
    // Requests the link's stop (only start makes a new one), clears the
    // link-alive flag, closes the transport and waits up to 2000 ms for the
    // thread to end.
    void stop();
    // Waits for the thread without a limit.
    void join();
    // Waits up to ms for the thread to end; true (and joined) when it has.
    bool joinWithin(uint32_t ms);
    bool threadRunning() const { return m_threadRunning; }

    // Edits still unsent when the link was lost are sent after a reconnection
    // only to the same device, found again within this time.
    static constexpr uint32_t kReconnectGraceMs = 10000;

    // Pieces of the connection cycle that jobs use too.
    bool fullRead();
    bool fullReadWithNotification();
    void readModeNames(int lastMode);

    // For tests and benchmarks: how far the thread has come.
    uint64_t steadyIterations() const { return m_steadyIterations; }
    uint64_t connections() const { return m_connections; }

private:
    enum class Handshake { Done, Restart };
    // Where a device was found and what it calls itself.
    struct DeviceMark {
        std::string place;
        uint32_t id = 0;
        bool operator==(const DeviceMark&) const = default;
    };

    void run();
    void connectionCycle();
    void takeTransportRequest();
    Handshake handshake();
    void occupancyCheck();
    void steadyLoop();
    void steadyIteration(int& idle);
    bool pendingScan();
    void serveReadRequests();
    void notifyReceived();
    bool runJobs();
    bool keepAlive();
    bool keepAliveGap();
    void linkLost();
    void settlePendingEdits();
    bool steadyMayGoOn() const;

    bool sleep(uint32_t ms) const;
    // The steady loop's rest between iterations, ended early by an edit or a job.
    void idleSleep(uint32_t ms) const;
    std::optional<LinkJob> takeJob();
    // Long sleeps end early on a stop or a request for another transport.
    void sleepWhileRunning(uint32_t ms) const;

    Link& m_link;
    LinkState& m_state;
    TransportType m_initialType = TransportType::UsbHid;
    std::map<LinkJob, Job> m_jobs;  // set before start
    mutable std::mutex m_queueMutex;
    std::deque<LinkJob> m_queue;
    ModuleStep m_moduleStep;

    std::optional<DeviceMark> m_lastDevice;
    uint32_t m_lostAt = 0;
    uint32_t m_foundAt = 0;

    std::jthread m_thread;
    std::atomic<bool> m_threadRunning{false};
    std::mutex m_endMutex;
    std::condition_variable m_ended;

    std::atomic<uint64_t> m_steadyIterations{0};
    std::atomic<uint64_t> m_connections{0};
};
