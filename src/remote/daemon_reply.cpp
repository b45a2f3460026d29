#include "remote/daemon_reply.h"

#include <cstdio>

#include <nlohmann/json.hpp>

#include "link/device_info.h"
#include "link/mirror.h"

using nlohmann::json;

namespace {

std::optional<json> object(const std::string& text) {
    json doc = json::parse(text, nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) return std::nullopt;
    return doc;
}

int intOf(const json& doc, const char* key) {
    auto it = doc.find(key);
    if (it == doc.end() || !it->is_number_integer()) return 0;
    int64_t v = it->get<int64_t>();
    return v < 0 || v > 1'000'000 ? 0 : static_cast<int>(v);
}

std::string textOf(const json& doc, const char* key) {
    auto it = doc.find(key);
    return it != doc.end() && it->is_string() ? it->get<std::string>() : std::string();
}

bool flagOf(const json& doc, const char* key) {
    auto it = doc.find(key);
    return it != doc.end() && it->is_boolean() && it->get<bool>();
}

std::optional<uint16_t> word(const json& value) {
    if (!value.is_number_unsigned() || value.get<uint64_t>() > 0xFFFF) return std::nullopt;
    return static_cast<uint16_t>(value.get<uint64_t>());
}

std::optional<int> index(const json& value) {
    if (!value.is_number_integer()) return std::nullopt;
    int64_t i = value.get<int64_t>();
    if (i < 0 || i >= Mirror::kSize) return std::nullopt;
    return static_cast<int>(i);
}

uint16_t versionWord(const std::string& text) {
    int a = 0, b = 0, c = 0;
    if (std::sscanf(text.c_str(), "%3d.%1d.%1d", &a, &b, &c) != 3 || a < 0 || b < 0 || c < 0)
        return 0;
    return static_cast<uint16_t>(a * 100 + b * 10 + c);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<DaemonReply::Status> DaemonReply::status(const std::string& body) {
    std::optional<json> doc = object(body);
    if (!doc) return std::nullopt;
    Status status;
    status.connection = textOf(*doc, "connection");
    status.read = flagOf(*doc, "read");
    status.deviceId = textOf(*doc, "device_id");
    status.version = versionWord(textOf(*doc, "version"));
    auto progress = doc->find("progress");
    if (progress != doc->end() && progress->is_object()) {
        status.position = intOf(*progress, "position");
        status.maximum = intOf(*progress, "maximum");
    }
    auto modes = doc->find("modes");
    if (modes != doc->end() && modes->is_array()) {
        for (const json& mode : *modes) {
            int number = mode.is_object() ? intOf(mode, "number") : 0;
            if (number >= 1 && number <= DeviceInfo::kModes)
                status.names[number] = textOf(mode, "name");
        }
    }
    return status;
}

std::optional<std::vector<std::optional<uint16_t>>> DaemonReply::parameters(
    const std::string& body) {
    std::optional<json> doc = object(body);
    if (!doc) return std::nullopt;
    auto values = doc->find("values");
    if (values == doc->end() || !values->is_array() || values->size() != Mirror::kSize ||
        intOf(*doc, "from") != 0)
        return std::nullopt;
    std::vector<std::optional<uint16_t>> out;
    out.reserve(Mirror::kSize);
    for (const json& v : *values) out.push_back(word(v));
    return out;
}

std::optional<uint16_t> DaemonReply::parameter(const std::string& body) {
    std::optional<json> doc = object(body);
    if (!doc || !doc->contains("value")) return std::nullopt;
    return word((*doc)["value"]);
}

DaemonReply::Event DaemonReply::event(const std::string& text) {
    Event event;
    std::optional<json> doc = object(text);
    if (!doc) return event;
    std::string type = textOf(*doc, "type");
    if (type == "link") {
        event.kind = Event::Kind::Link;
        event.live = textOf(*doc, "connection") == "connected" && flagOf(*doc, "read");
    } else if (type == "parameter" && doc->contains("index") && doc->contains("value")) {
        std::optional<int> i = index((*doc)["index"]);
        std::optional<uint16_t> v = word((*doc)["value"]);
        if (i && v) {
            event.kind = Event::Kind::Parameter;
            event.index = *i;
            event.value = *v;
        }
    }
    return event;
}

std::vector<uint8_t> DaemonReply::idBytes(const std::string& hex) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < hex.size() && out.size() < DeviceInfo::kIdSize; i += 2) {
        int high = hexDigit(hex[i]), low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return {};
        out.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return out;
}
