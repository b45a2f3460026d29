#include "update/update_manifest.h"

#include <array>
#include <charconv>
#include <string_view>

namespace {

constexpr size_t kDigestSize = 32;
constexpr size_t kKeys = 5;
constexpr std::array<std::string_view, kKeys> kKeyNames = {"product", "platform", "version", "size",
                                                           "sha256"};

bool number(std::string_view text, uint64_t max, uint64_t& out) {
    if (text.empty() || text.size() > 20 || (text.size() > 1 && text[0] == '0')) return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && out <= max;
}

bool word(std::string_view text) {
    if (text.empty() || text.size() > 64) return false;
    for (char c : text)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_'))
            return false;
    return true;
}

bool version(std::string_view text, uint32_t& out) {
    size_t dot = text.find('.');
    uint64_t major = 0, minor = 0;
    if (dot == std::string_view::npos || !number(text.substr(0, dot), 0xFFFF, major) ||
        !number(text.substr(dot + 1), 0xFFFF, minor))
        return false;
    out = static_cast<uint32_t>(major << 16 | minor);
    return true;
}

bool digest(std::string_view text, std::vector<uint8_t>& out) {
    if (text.size() != 2 * kDigestSize) return false;
    out.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        uint8_t byte = 0;
        auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, byte, 16);
        if (error != std::errc() || end != text.data() + i + 2) return false;
        out.push_back(byte);
    }
    return true;
}

bool take(UpdateManifest& m, size_t key, std::string_view value) {
    switch (key) {
        case 0:
            m.product = value;
            return word(value);
        case 1:
            m.platform = value;
            return word(value);
        case 2:
            return version(value, m.version);
        case 3:
            return number(value, UINT64_MAX, m.size);
        default:
            return digest(value, m.sha256);
    }
}

}  // namespace

std::optional<UpdateManifest> UpdateManifest::parse(const uint8_t* data, size_t size) {
    if (size > kMaxSize) return std::nullopt;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    UpdateManifest m;
    std::array<bool, kKeys> seen{};
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        size_t key = 0;
        while (key < kKeys && kKeyNames[key] != line.substr(0, equals)) ++key;
        if (key == kKeys || seen[key] || !take(m, key, line.substr(equals + 1)))
            return std::nullopt;
        seen[key] = true;
    }
    for (bool s : seen)
        if (!s) return std::nullopt;
    return m;
}

std::string UpdateManifest::text() const {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (uint8_t b : sha256) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 15];
    }
    return "product=" + product + "\nplatform=" + platform +
           "\nversion=" + std::to_string(version >> 16) + "." + std::to_string(version & 0xFFFF) +
           "\nsize=" + std::to_string(size) + "\nsha256=" + hex + "\n";
}

std::string UpdateManifest::thisPlatform() {
#if defined(__x86_64__)
    const char* cpu = "x86_64";
#elif defined(__aarch64__)
    const char* cpu = "aarch64";
#elif defined(__i386__)
    const char* cpu = "i386";
#elif defined(__arm__)
    const char* cpu = "arm";
#else
    const char* cpu = "other";
#endif
#if defined(__linux__)
    return std::string("linux-") + cpu;
#else
    return std::string("other-") + cpu;
#endif
}
