#include "link/transports/serial_port_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

const char* const kNumberedPrefixes[] = {"ttyUSB", "ttyACM", "rfcomm"};
const char* const kOnBoardPrefix = "ttyS";

bool digitsOnly(const std::string& s) {
    return !s.empty() && s.size() < 10 &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string resolved(const fs::path& path) {
    std::error_code ec;
    fs::path real = fs::canonical(path, ec);
    return ec ? std::string() : real.string();
}

}  // namespace

SerialPortList::SerialPortList(std::string devRoot, std::string sysRoot)
    : m_devRoot(std::move(devRoot)), m_sysRoot(std::move(sysRoot)) {}

std::vector<std::string> SerialPortList::numbered(const std::string& prefix) const {
    std::vector<std::pair<unsigned long, std::string>> found;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_devRoot, ec)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        std::string number = name.substr(prefix.size());
        if (!digitsOnly(number)) continue;
        found.emplace_back(std::stoul(number), name);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (auto& f : found) names.push_back(std::move(f.second));
    return names;
}

bool SerialPortList::hasUart(const std::string& name) const {
    std::ifstream type(fs::path(m_sysRoot) / "class" / "tty" / name / "type");
    int value = 0;
    return type >> value && value != 0;
}

std::vector<std::string> SerialPortList::enumerate() const {
    std::vector<std::string> candidates;
    std::error_code ec;
    std::vector<std::string> stable;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(m_devRoot) / "serial" / "by-id", ec))
        stable.push_back(entry.path().string());
    std::sort(stable.begin(), stable.end());
    candidates.insert(candidates.end(), stable.begin(), stable.end());

    for (const char* prefix : kNumberedPrefixes)
        for (const std::string& name : numbered(prefix))
            candidates.push_back((fs::path(m_devRoot) / name).string());
    for (const std::string& name : numbered(kOnBoardPrefix))
        if (hasUart(name)) candidates.push_back((fs::path(m_devRoot) / name).string());

    std::vector<std::string> ports;
    std::set<std::string> seen;
    for (const std::string& candidate : candidates) {
        std::string real = resolved(candidate);
        if (real.empty() || !seen.insert(real).second) continue;
        ports.push_back(real);
        if (ports.size() == kMaxPorts) break;
    }
    return ports;
}
