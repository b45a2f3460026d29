#include "daemon/api_router.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <nlohmann/json.hpp>

#include "binding/header_values.h"
#include "binding/link_table.h"
#include "binding/parameter_index.h"
#include "daemon/api_document.h"
#include "daemon/daemon_ui.h"
#include "daemon/parameter_rules.h"
#include "daemon/phone_page.h"
#include "files/preset_files.h"
#include "link/device_info.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/preset_jobs.h"
#include "texts/daemon_texts.h"
#include "texts/device_text.h"

using nlohmann::json;

namespace {

namespace pi = parameterIndex;

struct Master {
    const char* name;
    int volume;
    int limit;
};
constexpr Master kMasters[] = {
    {"music", pi::MusicVolume, pi::MusicMax},
    {"mic", pi::MicVolume, pi::MicMax},
    {"effect", pi::EffectVolume, pi::EffectMax},
    {"micb", pi::MicBVolume, pi::MicBMax},
};

// The source selector's items by the names scripts use.
constexpr const char* kSources[HeaderValues::kSources] = {"AUX1", "AUX2",  "OPT",   "COA",  "BT",
                                                          "eARC", "HDMI1", "HDMI2", "HDMI3"};

constexpr int kMaxNameBytes = static_cast<int>(PresetJobs::kSentNameBytes);

std::vector<std::string> segments(const std::string& path) {
    std::vector<std::string> out;
    std::string part;
    std::istringstream in(path);
    while (std::getline(in, part, '/'))
        if (!part.empty()) out.push_back(part);
    return out;
}

std::map<std::string, std::string> queryOf(const std::string& query) {
    std::map<std::string, std::string> out;
    std::string pair;
    std::istringstream in(query);
    while (std::getline(in, pair, '&')) {
        size_t eq = pair.find('=');
        if (eq == std::string::npos)
            out[pair] = "";
        else
            out[pair.substr(0, eq)] = pair.substr(eq + 1);
    }
    return out;
}

bool matches(const char* pattern, const std::vector<std::string>& parts,
             std::vector<std::string>& captures) {
    std::vector<std::string> want = segments(pattern);
    if (want.size() != parts.size()) return false;
    captures.clear();
    for (size_t i = 0; i < want.size(); ++i) {
        if (want[i].front() == '{')
            captures.push_back(parts[i]);
        else if (want[i] != parts[i])
            return false;
    }
    return true;
}

// A whole decimal number within low to high.
std::optional<long> number(const std::string& text, long low, long high) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return std::nullopt;
    return v;
}

std::optional<long> integer(const json& value) {
    if (!value.is_number_integer()) return std::nullopt;
    return value.get<long>();
}

ApiResult respond(int status, const json& body) {
    return {{status, "application/json", body.dump(-1, ' ', false, json::error_handler_t::replace)},
            {}};
}

ApiResult refuse(int status, const std::string& code, const std::string& message) {
    return {ApiRouter::error(status, code, message), {}};
}

ApiResult badRequest(const std::string& message) {
    return refuse(400, "bad_request", message);
}

std::optional<json> parseBody(const std::string& body) {
    json doc = json::parse(body, nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) return std::nullopt;
    return doc;
}

std::string versionText(uint16_t v) {
    return std::to_string(v / 100) + "." + std::to_string(v / 10 % 10) + "." +
           std::to_string(v % 10);
}

// Trailing zeros beyond the first four bytes are padding.
std::string hexId(const DeviceInfo::Id& id) {
    size_t used = id.size();
    while (used > 4 && id[used - 1] == 0) --used;
    std::string out;
    char byte[3];
    for (uint8_t b : std::span(id).first(used)) {
        std::snprintf(byte, sizeof byte, "%02X", b);
        out += byte;
    }
    return out;
}

const char* transportName(TransportType type) {
    switch (type) {
        case TransportType::Serial:
            return "serial";
        case TransportType::UsbHid:
            return "usb";
        case TransportType::Network:
            return "network";
        case TransportType::Bluetooth:
            return "bluetooth";
        case TransportType::Relay:
            return "relay";
    }
    return "unknown";
}

}  // namespace

// clang-format off
const ApiRouter::Entry ApiRouter::kEntries[] = {
    {{"GET", "/", false}, &ApiRouter::page, false},
    {{"GET", "/api/v1/openapi.json"}, &ApiRouter::openApi, false},
    {{"GET", "/api/v1/texts", false}, &ApiRouter::texts, false},
    {{"GET", "/api/v1/status"}, &ApiRouter::status, false},
    {{"GET", "/api/v1/events"}, &ApiRouter::events, false},
    {{"GET", "/api/v1/parameters"}, &ApiRouter::parameters, true},
    {{"PATCH", "/api/v1/parameters"}, &ApiRouter::patchParameters, true},
    {{"GET", "/api/v1/parameters/{index}"}, &ApiRouter::parameter, true},
    {{"PUT", "/api/v1/parameters/{index}"}, &ApiRouter::putParameter, true},
    {{"GET", "/api/v1/master"}, &ApiRouter::master, true},
    {{"PUT", "/api/v1/master"}, &ApiRouter::putMaster, true},
    {{"GET", "/api/v1/input"}, &ApiRouter::input, true},
    {{"PUT", "/api/v1/input"}, &ApiRouter::putInput, true},
    {{"POST", "/api/v1/modes/{n}/recall"}, &ApiRouter::recallMode, true},
    {{"PUT", "/api/v1/modes/{n}"}, &ApiRouter::saveMode, true},
    {{"GET", "/api/v1/preset"}, &ApiRouter::presetDown, true},
    {{"PUT", "/api/v1/preset"}, &ApiRouter::presetUp, true},
};
// clang-format on

ApiRouter::ApiRouter(Link& link, PresetJobs& jobs, DaemonUi& ui, std::string transportName,
                     std::string presetFolder)
    : m_link(link),
      m_jobs(jobs),
      m_ui(ui),
      m_transportName(std::move(transportName)),
      m_presetFolder(std::move(presetFolder)) {}

ApiRouter::~ApiRouter() = default;

std::span<const ApiRouter::Route> ApiRouter::routes() {
    static const std::vector<Route> all = [] {
        std::vector<Route> out;
        for (const Entry& e : kEntries) out.push_back(e.route);
        return out;
    }();
    return all;
}

bool ApiRouter::isPublic(const std::string& path) {
    std::vector<std::string> parts = segments(path);
    std::vector<std::string> captures;
    for (const Entry& e : kEntries)
        if (!e.route.needsToken && matches(e.route.pattern, parts, captures)) return true;
    return false;
}

ApiResponse ApiRouter::error(int status, const std::string& code, const std::string& message) {
    return {status, "application/json",
            json{{"error", {{"code", code}, {"message", message}}}}.dump(
                -1, ' ', false, json::error_handler_t::replace)};
}

ApiResult ApiRouter::handle(const ApiRequest& request) {
    size_t mark = request.target.find('?');
    std::string path = request.target.substr(0, mark);
    std::vector<std::string> parts = segments(path);
    Call call{{},
              queryOf(mark == std::string::npos ? "" : request.target.substr(mark + 1)),
              request.body};
    bool pathKnown = false;
    for (const Entry& e : kEntries) {
        if (!matches(e.route.pattern, parts, call.captures)) continue;
        pathKnown = true;
        if (request.method != e.route.method) continue;
        if (e.needsValues)
            if (std::optional<ApiResponse> refused = gate()) return {*refused, {}};
        return (this->*e.handler)(call);
    }
    if (pathKnown) return refuse(405, "method_not_allowed", request.method + " is not served here");
    return refuse(404, "not_found", "no such resource: " + path);
}

std::optional<ApiResponse> ApiRouter::gate() const {
    if (m_ui.connection() != DaemonUi::Connection::Connected)
        return error(503, "no_device", "the device is not connected");
    if (!m_ui.valuesRead())
        return error(409, "not_read", "the device's values are still being read");
    return std::nullopt;
}

ApiResult ApiRouter::page(const Call&) {
    return {{200, "text/html; charset=utf-8", PhonePage::html()}, {}};
}

ApiResult ApiRouter::openApi(const Call&) {
    return {{200, "application/json", ApiDocument::text()}, {}};
}

ApiResult ApiRouter::texts(const Call&) {
    json table = json::object();
    for (const daemontext::Entry& e : daemontext::entries())
        table[e.key] = {(*e.text)[0], (*e.text)[1], (*e.text)[2]};
    return respond(200, {{"languages", {"zh-Hans", "zh-Hant", "en"}}, {"texts", table}});
}

ApiResult ApiRouter::events(const Call&) {
    return refuse(400, "websocket_required", "the events are served as a WebSocket");
}

std::string ApiRouter::modeName(int mode) const {
    DeviceInfo& device = m_link.device();
    return device.nameReceived(mode) ? DeviceText::utf8(device.modeNameText(mode)) : "";
}

ApiResult ApiRouter::status(const Call&) {
    static constexpr const char* kConnection[] = {"stopped", "searching", "connected"};
    DeviceInfo& device = m_link.device();
    bool connected = m_ui.connection() == DaemonUi::Connection::Connected;
    json modes = json::array();
    for (int p = 1; p <= DeviceInfo::kModes; ++p)
        modes.push_back({{"number", p}, {"name", modeName(p)}});
    json doc{
        {"connection", kConnection[static_cast<int>(m_ui.connection())]},
        {"read", m_ui.valuesRead()},
        {"transport",
         m_transportName.empty() ? transportName(m_link.state().transportType) : m_transportName},
        {"device_id", connected ? json(hexId(device.deviceId())) : json()},
        {"version", connected ? json(versionText(device.version)) : json()},
        {"current_mode", m_ui.valuesRead() ? json(m_link.mirror().value(pi::CurrentMode)) : json()},
        {"modes", modes},
        {"progress", {{"position", m_ui.progressPosition()}, {"maximum", m_ui.progressMaximum()}}}};
    return respond(200, doc);
}

ApiResult ApiRouter::parameters(const Call& call) {
    auto get = [&](const char* key, long fallback, long low, long high) -> std::optional<long> {
        auto it = call.query.find(key);
        return it == call.query.end() ? std::optional<long>(fallback)
                                      : number(it->second, low, high);
    };
    std::optional<long> from = get("from", 0, 0, Mirror::kSize - 1);
    std::optional<long> count = get("count", Mirror::kSize, 1, Mirror::kSize);
    if (!from || !count) return badRequest("from takes 0 to 1745 and count 1 to 1746");
    long end = std::min<long>(*from + *count, Mirror::kSize);
    json values = json::array();
    for (long i = *from; i < end; ++i) values.push_back(m_link.mirror().value(static_cast<int>(i)));
    return respond(200, {{"from", *from}, {"values", values}});
}

ApiResult ApiRouter::parameter(const Call& call) {
    std::optional<long> index = number(call.captures[0], 0, Mirror::kSize - 1);
    if (!index) return refuse(404, "not_found", "no parameter " + call.captures[0]);
    int i = static_cast<int>(*index);
    return respond(200, {{"index", i}, {"value", m_link.mirror().value(i)}});
}

ApiResult ApiRouter::putParameter(const Call& call) {
    std::optional<long> index = number(call.captures[0], 0, Mirror::kSize - 1);
    if (!index) return refuse(404, "not_found", "no parameter " + call.captures[0]);
    std::optional<json> doc = parseBody(call.body);
    if (!doc) return badRequest("the body is not a JSON object");
    std::optional<long> value = integer((*doc)["value"]);
    if (!value) return badRequest("value must be a whole number");
    std::string refusal = ParameterRules::refusal(static_cast<int>(*index), *value);
    if (!refusal.empty()) return badRequest(refusal);
    write({{static_cast<int>(*index), static_cast<int>(*value)}});
    return respond(200, {{"index", *index}, {"value", *value}});
}

ApiResult ApiRouter::patchParameters(const Call& call) {
    std::optional<json> doc = parseBody(call.body);
    if (!doc || !(*doc)["values"].is_array())
        return badRequest("the body must be {\"values\":[{\"index\":…,\"value\":…},…]}");
    std::map<int, int> values;
    for (const json& item : (*doc)["values"]) {
        if (!item.is_object()) return badRequest("each entry must be an object");
        std::optional<long> index = integer(item.value("index", json()));
        std::optional<long> value = integer(item.value("value", json()));
        if (!index || !value) return badRequest("each entry needs a whole index and value");
        std::string refusal = Mirror::valid(static_cast<int>(*index))
                                  ? ParameterRules::refusal(static_cast<int>(*index), *value)
                                  : "no parameter " + std::to_string(*index);
        if (!refusal.empty()) return badRequest(refusal);
        values[static_cast<int>(*index)] = static_cast<int>(*value);
    }
    write(values);
    json out = json::array();
    for (auto [index, value] : values) out.push_back({{"index", index}, {"value", value}});
    return respond(200, {{"values", out}});
}

void ApiRouter::write(const std::map<int, int>& values) {
    Mirror& mirror = m_link.mirror();
    for (auto [index, value] : values) {
        mirror.store(index, static_cast<uint16_t>(value));
        mirror.setPending(index, static_cast<uint16_t>(value));
    }
    // Right channels that follow their left one follow an API write too.
    LinkTable::apply(mirror);
    if (!m_written) return;
    for (const std::string& text : changedEvents()) m_written(text);
}

int ApiRouter::masterLimit(int limitIndex) const {
    int limit = m_link.mirror().value(limitIndex);
    return limit >= 1 && limit <= 100 ? limit : 100;
}

json ApiRouter::masterJson() const {
    json doc = json::object();
    json limits = json::object();
    for (const Master& m : kMasters) {
        doc[m.name] = HeaderValues::volumePercent(m_link.mirror().value(m.volume));
        limits[m.name] = masterLimit(m.limit);
    }
    doc["limits"] = limits;
    return doc;
}

ApiResult ApiRouter::master(const Call&) {
    return respond(200, masterJson());
}

ApiResult ApiRouter::putMaster(const Call& call) {
    std::optional<json> doc = parseBody(call.body);
    if (!doc) return badRequest("the body is not a JSON object");
    std::map<int, int> values;
    for (const Master& m : kMasters) {
        if (!doc->contains(m.name)) continue;
        std::optional<long> percent = integer((*doc)[m.name]);
        int limit = masterLimit(m.limit);
        if (!percent || *percent < 0 || *percent > limit)
            return badRequest(std::string(m.name) + " takes 0 to " + std::to_string(limit) + " %");
        values[m.volume] = HeaderValues::volumeCode(static_cast<double>(*percent));
    }
    if (values.empty()) return badRequest("name at least one of music, mic, effect, micb");
    write(values);
    return respond(200, masterJson());
}

ApiResult ApiRouter::input(const Call&) {
    int item = HeaderValues::sourceItem(m_link.mirror().value(pi::InputSource));
    return respond(200,
                   {{"source", item >= 0 ? json(kSources[item]) : json()}, {"sources", kSources}});
}

ApiResult ApiRouter::putInput(const Call& call) {
    std::optional<json> doc = parseBody(call.body);
    if (!doc || !(*doc)["source"].is_string()) return badRequest("source must be a name");
    std::string name = (*doc)["source"];
    for (int item = 0; item < HeaderValues::kSources; ++item) {
        if (name != kSources[item]) continue;
        write({{pi::InputSource, HeaderValues::sourceCode(item)}});
        return input(call);
    }
    return badRequest("no input source " + name);
}

bool ApiRouter::jobRunning() const {
    return m_jobSerial && m_jobs.lastOutcome().serial == *m_jobSerial &&
           std::chrono::steady_clock::now() < m_jobDeadline;
}

ApiResult ApiRouter::job(const std::function<void()>& request,
                         std::function<ApiResponse(bool ok)> finish) {
    if (jobRunning()) return refuse(409, "busy", "another job is running on the device");
    uint64_t before = m_jobs.lastOutcome().serial;
    m_jobSerial = before;
    m_jobDeadline = std::chrono::steady_clock::now() + kJobLimit;
    request();
    auto deadline = m_jobDeadline;
    ApiResult result;
    result.pending = [this, before, deadline, finish]() -> std::optional<ApiResponse> {
        PresetJobs::Outcome outcome = m_jobs.lastOutcome();
        if (outcome.serial > before) return finish(outcome.ok);
        if (std::chrono::steady_clock::now() >= deadline)
            return error(503, "job_timeout", "the device did not finish the job in time");
        return std::nullopt;
    };
    return result;
}

ApiResult ApiRouter::recallMode(const Call& call) {
    std::optional<long> mode = number(call.captures[0], 1, DeviceInfo::kModes);
    if (!mode) return refuse(404, "not_found", "modes are numbered 1 to 16");
    int n = static_cast<int>(*mode);
    return job([this, n] { m_jobs.requestRecall(n); },
               [this, n](bool ok) {
                   if (!ok) return error(409, "job_failed", m_ui.lastMessage());
                   return ApiResponse{200, "application/json",
                                      json{{"mode", n}, {"name", modeName(n)}}.dump(
                                          -1, ' ', false, json::error_handler_t::replace)};
               });
}

ApiResult ApiRouter::saveMode(const Call& call) {
    std::optional<long> mode = number(call.captures[0], 1, DeviceInfo::kModes);
    if (!mode) return refuse(404, "not_found", "modes are numbered 1 to 16");
    std::optional<json> doc = parseBody(call.body);
    if (!doc || !(*doc)["name"].is_string()) return badRequest("name must be a text");
    std::string name = (*doc)["name"];
    if (name.empty() || name.size() > static_cast<size_t>(kMaxNameBytes))
        return badRequest("a mode name holds 1 to 20 bytes");
    int n = static_cast<int>(*mode);
    return job([this, n, name] { m_jobs.requestSaveName(n, name); },
               [this, n, name](bool ok) {
                   if (!ok) return error(409, "job_failed", m_ui.lastMessage());
                   return ApiResponse{200, "application/json",
                                      json{{"mode", n}, {"name", name}}.dump(
                                          -1, ' ', false, json::error_handler_t::replace)};
               });
}

ApiResult ApiRouter::presetDown(const Call&) {
    std::string path = m_presetFolder + "/download" + PresetFiles::kPresetExtension;
    std::filesystem::remove(path);
    return job([this, path] { m_jobs.requestSaveToFile(path); },
               [this, path](bool ok) {
                   std::ifstream in(path, std::ios::binary);
                   std::string bytes((std::istreambuf_iterator<char>(in)), {});
                   in.close();
                   std::filesystem::remove(path);
                   if (!ok || bytes.empty()) return error(409, "job_failed", m_ui.lastMessage());
                   return ApiResponse{200, "application/octet-stream", bytes};
               });
}

ApiResult ApiRouter::presetUp(const Call& call) {
    auto confirm = call.query.find("confirm");
    if (confirm == call.query.end() || confirm->second != "1")
        return refuse(409, "confirm_needed",
                      "sending a preset overwrites the device's values: repeat with ?confirm=1");
    std::string path = m_presetFolder + "/upload" + PresetFiles::kPresetExtension;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(call.body.data(), static_cast<std::streamsize>(call.body.size()));
        if (!out) return refuse(503, "no_space", "the preset cannot be stored for sending");
    }
    PresetFiles check;
    if (check.loadPreset(path) != PresetFiles::kPresetOk ||
        check.damage() != PresetCodec::Damage::None) {
        std::filesystem::remove(path);
        return badRequest("the body is not an undamaged preset file");
    }
    return job([this, path] { m_jobs.requestSendFile(path); },
               [this, path](bool ok) {
                   std::filesystem::remove(path);
                   if (!ok) return error(409, "job_failed", m_ui.lastMessage());
                   return ApiResponse{
                       200, "application/json",
                       json{{"sent", true}}.dump(-1, ' ', false, json::error_handler_t::replace)};
               });
}

std::string ApiRouter::parameterEvent(int index, int value) {
    return json{{"type", "parameter"}, {"index", index}, {"value", value}}.dump(
        -1, ' ', false, json::error_handler_t::replace);
}

std::string ApiRouter::linkEvent() const {
    static constexpr const char* kConnection[] = {"stopped", "searching", "connected"};
    return json{{"type", "link"},
                {"connection", kConnection[static_cast<int>(m_ui.connection())]},
                {"read", m_ui.valuesRead()}}
        .dump(-1, ' ', false, json::error_handler_t::replace);
}

std::vector<std::string> ApiRouter::changedEvents() {
    std::vector<std::string> out;
    if (!m_ui.valuesRead()) {
        m_toldValid = false;
        return out;
    }
    const Mirror& mirror = m_link.mirror();
    for (int i = 1; i < Mirror::kSize; ++i) {
        uint16_t value = mirror.value(i);
        uint16_t& told = m_told[static_cast<size_t>(i)];
        if (m_toldValid && told != value) out.push_back(parameterEvent(i, value));
        told = value;
    }
    m_toldValid = true;
    return out;
}

std::string ApiRouter::eventText(int code) const {
    switch (code) {
        case LinkEvent::ConnectionState:
        case LinkEvent::ReadComplete:
            return linkEvent();
        case LinkEvent::ValuesReplaced:
            return json{{"type", "values_replaced"}}.dump();
        case DaemonUi::kProgress:
            return progressEvent();
        case DaemonUi::kMessage:
            return messageEvent();
        default:
            return {};
    }
}

std::string ApiRouter::progressEvent() const {
    return json{{"type", "progress"},
                {"position", m_ui.progressPosition()},
                {"maximum", m_ui.progressMaximum()}}
        .dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string ApiRouter::messageEvent() const {
    return json{{"type", "message"}, {"text", m_ui.lastMessage()}}.dump(
        -1, ' ', false, json::error_handler_t::replace);
}
