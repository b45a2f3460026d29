#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "remote/daemon_client.h"
#include "remote/daemon_events.h"
#include "remote/daemon_reply.h"

class Link;
struct TextTriple;

// The link of a program that goes through a running qx7d instead of holding
// the device: the daemon's mirror fills the link's in one request, edits
// marked pending go to it as batch writes and stay pending until it took
// them, and its events come back as the device's own changes, with the link
// events a device raises. The mode and preset jobs become its API calls.
// Runs on the link supervisor's thread in place of the device search.
class RemoteSession {
public:
    // The arguments of the link event DaemonReach.
    enum Reach { NotReached = 0, NoDevice = 1 };
    // Waits between tries while qx7d is not reached: doubled up to the last.
    static constexpr uint32_t kFirstRetryMs = 250;
    static constexpr uint32_t kLastRetryMs = 4000;

    RemoteSession(Link& link, DaemonClient client);
    ~RemoteSession();
    RemoteSession(const RemoteSession&) = delete;
    RemoteSession& operator=(const RemoteSession&) = delete;

    // Takes the supervisor's place; before it starts.
    void install();
    // Where qx7d is looked for (socket path or host:port).
    const std::string& where() const { return m_client.where(); }

    // The preset jobs; any thread. Each runs on the link's thread once the
    // daemon's device is live, and reports as the device's jobs do.
    void requestSaveToFile(const std::string& name);
    // The caller asked the user first: the daemon is told the file may overwrite.
    void requestSendFile(const std::string& name);
    bool requestRecall(int mode);
    bool requestReadName(int mode);
    bool requestSaveName(int mode, const std::string& name);

private:
    enum class Attach { NotReached, Waiting, Live };
    using Status = DaemonReply::Status;
    using Edit = std::pair<int, uint16_t>;

    void run();
    Attach attach();
    std::optional<Status> fetchStatus();
    void showReading(const Status& status);
    bool readAll();
    void storeNames(const std::map<int, std::string>& names);
    void settlePending(const std::string& deviceId);
    void steady();
    void goLive(const Status& status);
    // False when the daemon's device is no longer live (or qx7d went away).
    bool takeEvents();
    bool applyEvents();  // the same without link events
    bool sendPending();
    DaemonClient::Reply patch(const std::vector<Edit>& edits);
    bool settle(const Edit& edit, const DaemonClient::Reply& reply);
    void runJobs();
    void lost();
    // Link events for the values received from index from on.
    void notifyReceived(int from);
    void tellReach(Reach reach);
    void refused(const DaemonClient::Reply& reply);
    void queue(std::function<void()> job);
    void busy(const std::string& format);
    // True (after telling the user) when the job's request failed.
    bool failedJob(const DaemonClient::Reply& reply, const TextTriple& failed);

    // The jobs, on the link's thread.
    void saveToFile(const std::string& name);
    void sendFile(const std::string& name);
    void recall(int mode);
    void saveName(int mode, const std::string& name);
    bool readNames();
    void valuesReplaced(int job);

    Link& m_link;
    DaemonClient m_client;
    DaemonEvents m_events;
    std::mutex m_jobMutex;
    std::deque<std::function<void()>> m_jobs;
    bool m_connectedShown = false;
    bool m_readingShown = false;
    std::optional<Reach> m_reachShown;
    // The device last live through the daemon and when it was lost.
    std::optional<std::string> m_lastDevice;
    uint32_t m_lostAt = 0;
};
