#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

class DaemonUi;
class Link;
class PresetJobs;

struct ApiRequest {
    std::string method;
    std::string target;  // path and query
    std::string body;
};

struct ApiResponse {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
};

// What a request gives: a response at once, or (for the device's jobs) a poll
// the caller repeats, without blocking, until it yields the response.
struct ApiResult {
    ApiResponse response;
    std::function<std::optional<ApiResponse>()> pending;
};

// The HTTP API on the link, apart from the transport: routes, JSON in and
// out, range checks, writes through the mirror's pending mark, and the
// preset jobs. Runs on one thread; the link's own threads do the rest.
class ApiRouter {
public:
    struct Route {
        const char* method;
        const char* pattern;  // segments in braces are parameters
        bool needsToken = true;
    };
    // Given the events of what a client wrote, so that every client hears of it at once.
    using Written = std::function<void(const std::string& text)>;

    static constexpr std::chrono::seconds kJobLimit{60};
    static constexpr const char* kEventsPath = "/api/v1/events";

    // presetFolder holds the files of preset transfers while they run;
    // transportName names the transport in the status (empty: the link's own).
    ApiRouter(Link& link, PresetJobs& jobs, DaemonUi& ui, std::string transportName,
              std::string presetFolder);
    ~ApiRouter();
    ApiRouter(const ApiRouter&) = delete;
    ApiRouter& operator=(const ApiRouter&) = delete;

    void setWritten(Written written) { m_written = std::move(written); }
    ApiResult handle(const ApiRequest& request);

    // Every route served, the events WebSocket included.
    static std::span<const Route> routes();
    // Whether a path needs no token: the page and its texts hold no device data.
    static bool isPublic(const std::string& path);
    static ApiResponse error(int status, const std::string& code, const std::string& message);
    // The event texts sent on the events WebSocket.
    static std::string parameterEvent(int index, int value);
    std::string linkEvent() const;
    // Parameter events for every value the mirror changed since the last
    // call, whoever changed it; after a full read the values are taken
    // silently (the clients hear of the read and fetch them).
    std::vector<std::string> changedEvents();
    // The event text of a link event (codes of LinkEvent and DaemonUi); empty
    // for one the clients are not told of (parameters come from changedEvents).
    std::string eventText(int code) const;
    std::string progressEvent() const;
    std::string messageEvent() const;

private:
    struct Call {
        std::vector<std::string> captures;
        std::map<std::string, std::string> query;
        const std::string& body;
    };
    using Handler = ApiResult (ApiRouter::*)(const Call&);
    struct Entry {
        Route route;
        Handler handler;
        bool needsValues;  // refused until the device's values are read
    };
    static const Entry kEntries[];

    std::optional<ApiResponse> gate() const;
    ApiResult page(const Call&);
    ApiResult openApi(const Call&);
    ApiResult texts(const Call&);
    ApiResult status(const Call&);
    ApiResult events(const Call&);
    ApiResult parameters(const Call&);
    ApiResult parameter(const Call&);
    ApiResult putParameter(const Call&);
    ApiResult patchParameters(const Call&);
    ApiResult master(const Call&);
    ApiResult putMaster(const Call&);
    ApiResult input(const Call&);
    ApiResult putInput(const Call&);
    ApiResult recallMode(const Call&);
    ApiResult saveMode(const Call&);
    ApiResult presetDown(const Call&);
    ApiResult presetUp(const Call&);

    // Writes as the window does; every value was checked before.
    void write(const std::map<int, int>& values);
    nlohmann::json masterJson() const;
    int masterLimit(int limitIndex) const;
    // Starts a preset job and polls it; refused while another one runs.
    ApiResult job(const std::function<void()>& request, std::function<ApiResponse(bool ok)> finish);
    std::string modeName(int mode) const;

    Link& m_link;
    PresetJobs& m_jobs;
    DaemonUi& m_ui;
    std::string m_transportName;
    std::string m_presetFolder;
    Written m_written;
    std::array<uint16_t, 1746> m_told{};
    bool m_toldValid = false;
    // The running job: the outcome serial it started from and its deadline.
    bool jobRunning() const;
    std::optional<uint64_t> m_jobSerial;
    std::chrono::steady_clock::time_point m_jobDeadline;
};
