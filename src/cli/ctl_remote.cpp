#include "cli/ctl_remote.h"
#include "cli/number_argument.h"

#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

#include "cli/json_text.h"
#include "files/preset_files.h"

using nlohmann::json;

namespace {

constexpr int kSuccess = CtlOptions::kSuccess;
constexpr int kFailure = CtlOptions::kFailure;
constexpr int kUsage = CtlOptions::kUsage;
constexpr int kLastIndex = 1745;

}  // namespace

CtlRemote::CtlRemote(const CtlOptions& options, std::FILE* out) : m_options(options), m_out(out) {}

int CtlRemote::run() {
    std::string error;
    if (!m_client.configure(m_options.daemonTarget, error)) return usageError(error);
    const std::string& command = m_options.command;
    const std::vector<std::string>& args = m_options.arguments;
    if (command == "info") return args.empty() ? info() : usageError("info takes no arguments");
    if (command == "get") return get(args);
    if (command == "set") return set(args);
    if (command == "save") return save(args);
    if (command == "load") return load(args);
    if (command == "recall") return recall(args);
    return usageError(command + " does not go through qx7d; run it without --daemon");
}

bool CtlRemote::call(const std::string& method, const std::string& path, const std::string& body,
                     DaemonClient::Reply& reply) const {
    reply = m_client.request(method, path, body);
    if (reply.status == 200) return true;
    if (reply.status == 0)
        fail("cannot reach qx7d at " + m_client.where() + ": " + reply.error);
    else
        fail(DaemonClient::problem(reply));
    return false;
}

int CtlRemote::info() {
    DaemonClient::Reply reply;
    if (!call("GET", "/api/v1/status", {}, reply)) return kFailure;
    json status = json::parse(reply.body, nullptr, false);
    if (!status.is_object()) return fail("qx7d answered no JSON");
    if (m_options.json) {
        std::fprintf(m_out, "%s\n", jsonText(status).c_str());
        return kSuccess;
    }
    auto text = [](const json& v) {
        return v.is_null() ? std::string("-") : v.is_string() ? v.get<std::string>() : v.dump();
    };
    std::fprintf(m_out, "Connection: %s\n", text(status["connection"]).c_str());
    std::fprintf(m_out, "Transport: %s\n", text(status["transport"]).c_str());
    std::fprintf(m_out, "Version: %s\n", text(status["version"]).c_str());
    std::fprintf(m_out, "Device ID: %s\n", text(status["device_id"]).c_str());
    std::fprintf(m_out, "Current preset: %s\n", text(status["current_mode"]).c_str());
    for (const json& mode : status["modes"])
        std::fprintf(m_out, "Preset %s: %s\n", text(mode["number"]).c_str(),
                     text(mode["name"]).c_str());
    return kSuccess;
}

int CtlRemote::get(const std::vector<std::string>& args) {
    if (args.empty()) return usageError("get needs at least one INDEX");
    std::vector<long> indices;
    for (const std::string& a : args) {
        long index = 0;
        if (!parseNumberArgument(a, 0, kLastIndex, index))
            return usageError("not a parameter index: " + a);
        indices.push_back(index);
    }
    DaemonClient::Reply reply;
    if (!call("GET", "/api/v1/parameters", {}, reply)) return kFailure;
    json doc = json::parse(reply.body, nullptr, false);
    json values = doc.is_object() ? doc["values"] : json();
    if (!values.is_array() || values.size() <= static_cast<size_t>(kLastIndex))
        return fail("qx7d answered no parameter values");
    json list = json::array();
    for (long index : indices) {
        unsigned value = values[static_cast<size_t>(index)].get<unsigned>();
        if (m_options.json)
            list.push_back({{"index", index}, {"value", value}});
        else
            std::fprintf(m_out, "%ld=%u\n", index, value);
    }
    if (m_options.json) std::fprintf(m_out, "%s\n", jsonText(json{{"parameters", list}}).c_str());
    return kSuccess;
}

int CtlRemote::set(const std::vector<std::string>& args) {
    if (args.empty()) return usageError("set needs at least one INDEX=VALUE");
    json values = json::array();
    for (const std::string& a : args) {
        size_t eq = a.find('=');
        long index = 0;
        long value = 0;
        if (eq == std::string::npos ||
            !parseNumberArgument(a.substr(0, eq), 1, kLastIndex, index) ||
            !parseNumberArgument(a.substr(eq + 1), 0, 0xFFFF, value))
            return usageError("not INDEX=VALUE with INDEX 1 to 1745 and VALUE 0 to 65535: " + a);
        values.push_back({{"index", index}, {"value", value}});
    }
    DaemonClient::Reply reply;
    if (!call("PATCH", "/api/v1/parameters", json{{"values", values}}.dump(), reply))
        return kFailure;
    json written = json::parse(reply.body, nullptr, false);
    if (!written.is_object()) return fail("qx7d answered no JSON");
    for (const json& v : written["values"])
        std::fprintf(m_out, "%d=%d\n", v["index"].get<int>(), v["value"].get<int>());
    return kSuccess;
}

int CtlRemote::save(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].empty()) return usageError("save needs one FILE");
    std::string path = PresetFiles::withPresetExtension(args[0]);
    DaemonClient::Reply reply;
    if (!call("GET", "/api/v1/preset", {}, reply)) return kFailure;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reply.body.data(), static_cast<std::streamsize>(reply.body.size()));
    if (!out.flush()) return fail(path + ": the file cannot be written");
    std::fprintf(m_out, "%s\n", path.c_str());
    return kSuccess;
}

// The user named the file: that is the confirmation the daemon asks for.
int CtlRemote::load(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].empty()) return usageError("load needs one FILE");
    std::ifstream in(args[0], std::ios::binary);
    if (!in) return fail(args[0] + ": the file cannot be opened");
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    DaemonClient::Reply reply;
    if (!call("PUT", "/api/v1/preset?confirm=1", bytes, reply)) return kFailure;
    std::fprintf(m_out, "Sent %s\n", args[0].c_str());
    return kSuccess;
}

int CtlRemote::recall(const std::vector<std::string>& args) {
    long preset = 0;
    if (args.size() != 1 || !parseNumberArgument(args[0], 1, 16, preset))
        return usageError("recall needs a preset number from 1 to 16");
    DaemonClient::Reply reply;
    if (!call("POST", "/api/v1/modes/" + std::to_string(preset) + "/recall", {}, reply))
        return kFailure;
    std::fprintf(m_out, "Preset %ld recalled\n", preset);
    return kSuccess;
}
