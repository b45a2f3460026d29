// Any request through qx7d's guard and router, on a link whose values count
// as read: every answer is JSON with a known status, and a refused write
// leaves the mirror as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "daemon/api_router.h"
#include "daemon/daemon_ui.h"
#include "daemon/request_guard.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/preset_jobs.h"
#include "platform/clock.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

struct Api {
    Api() {
        ui.sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Connected);
        ui.postEvent(LinkEvent::ReadComplete, 0);
    }
    std::string folder = [] {
        auto path = std::filesystem::temp_directory_path() / "qx7d-fuzz";
        std::filesystem::create_directories(path);
        return path.string();
    }();
    DaemonUi ui;
    Link link{ui, Clock::system()};
    PresetJobs jobs{link};
    ApiRouter router{link, jobs, ui, "", folder};
    RequestGuard guard{std::string(64, 'a'), RequestGuard::hostsFor("127.0.0.1", 8437)};
};

// Lines of the input: method, target, Host, Origin, Authorization; the rest is the body.
std::string_view line(std::string_view& rest) {
    size_t end = rest.find('\n');
    std::string_view out = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return out;
}

bool known(int status) {
    for (int s : {200, 400, 401, 403, 404, 405, 409, 503})
        if (s == status) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Api api;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::string method(line(rest));
    std::string target(line(rest));
    RequestGuard::Request asked{line(rest), line(rest), line(rest), {}, true};
    api.guard.check(asked);

    uint16_t before[8];
    for (int i = 0; i < 8; ++i) before[i] = api.link.mirror().value(i + 1);
    ApiResult result = api.router.handle({method, target, std::string(rest)});
    if (result.pending) return 0;
    check(known(result.response.status));
    if (result.response.contentType == "application/json")
        check(!nlohmann::json::parse(result.response.body, nullptr, false).is_discarded());
    if (result.response.status != 200)
        for (int i = 0; i < 8; ++i) check(api.link.mirror().value(i + 1) == before[i]);
    return 0;
}
