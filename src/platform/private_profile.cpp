#include "platform/private_profile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

#include <unistd.h>

namespace {

std::mutex& profileMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string> readLines(const std::string& file, bool* exists) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    if (exists) *exists = static_cast<bool>(in);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// "[name]" gives name; anything else gives nothing.
std::optional<std::string> sectionOf(const std::string& line) {
    std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return trim(t.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<std::string> keyOf(const std::string& line, std::string* value) {
    std::string t = trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[') return std::nullopt;
    size_t eq = t.find('=');
    if (eq == std::string::npos) return std::nullopt;
    if (value) *value = trim(t.substr(eq + 1));
    return trim(t.substr(0, eq));
}

std::string unquote(const std::string& v) {
    if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') ||
                          (v.front() == '\'' && v.back() == '\'')))
        return v.substr(1, v.size() - 2);
    return v;
}

bool replaceFile(const std::string& file, const std::vector<std::string>& lines) {
    std::string tmp = file + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        for (const auto& l : lines) out << l << "\r\n";
        out.flush();
        if (!out) {
            std::remove(tmp.c_str());
            return false;
        }
    }
    if (std::rename(tmp.c_str(), file.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> PrivateProfile::readString(const std::string& file,
                                                      const std::string& section,
                                                      const std::string& key) {
    std::lock_guard lock(profileMutex());
    bool inSection = false;
    for (const auto& line : readLines(file, nullptr)) {
        if (auto s = sectionOf(line)) {
            inSection = sameName(*s, section);
            continue;
        }
        std::string value;
        auto k = keyOf(line, &value);
        if (inSection && k && sameName(*k, key)) return unquote(value);
    }
    return std::nullopt;
}

int PrivateProfile::parseInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) v = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) v = -v;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

int PrivateProfile::readInt(const std::string& file, const std::string& section,
                            const std::string& key, int fallback) {
    auto text = readString(file, section, key);
    return text ? parseInt(*text) : fallback;
}

bool PrivateProfile::writeString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& value) {
    // A line break would add lines of its own choosing to the file.
    auto breaksLine = [](const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; };
    if (breaksLine(section) || breaksLine(key) || breaksLine(value)) return false;
    std::lock_guard lock(profileMutex());
    bool exists = false;
    std::vector<std::string> lines = readLines(file, &exists);
    bool inSection = false;
    long sectionEnd = -1;  // index after the last line of the section, once found
    for (size_t i = 0; i < lines.size(); ++i) {
        if (auto s = sectionOf(lines[i])) {
            inSection = sameName(*s, section);
            if (inSection) sectionEnd = static_cast<long>(i) + 1;
            continue;
        }
        auto k = keyOf(lines[i], nullptr);
        if (inSection && k && sameName(*k, key)) {
            lines[i] = *k + "=" + value;
            return replaceFile(file, lines);
        }
        if (inSection && !trim(lines[i]).empty()) sectionEnd = static_cast<long>(i) + 1;
    }
    if (sectionEnd < 0) {
        lines.push_back("[" + section + "]");
        lines.push_back(key + "=" + value);
    } else {
        lines.insert(lines.begin() + sectionEnd, key + "=" + value);
    }
    return replaceFile(file, lines);
}
