#include "sim/sim_wifi_module.h"

#include <algorithm>

namespace {

// The module's own address as a hotspot, and the one a router hands it.
constexpr const char* kHotspotAddress = "C0A80401";
constexpr const char* kRouterAddress = "C0A8012A";

bool validMode(const std::string& v) {
    return v == "1" || v == "2" || v == "3";
}

}  // namespace

SimWifiModule::SimWifiModule() {
    restore();
}

void SimWifiModule::restore() {
    m_settings = {{"LinkIP", "C0A80101"},
                  {"WiFiMode", "1"},
                  {"TCPPort", "1010"},
                  {"UDPPort", "1010"},
                  {"RouteSSID", "StudioNet"},
                  {"RoutePW", "studio-pass"},
                  {"HotSSID", "QX7-Hotspot"},
                  {"HotPW", "12345678"},
                  {"Domain", "relay.example.net"},
                  {"UpMark", "0"},
                  {"Confi", "1"},
                  {"ServerPort", "11742"}};
}

std::string SimWifiModule::get(const std::string& key) const {
    if (key == "IP") return setting("WiFiMode") == "1" ? kHotspotAddress : kRouterAddress;
    auto it = m_settings.find(key);
    return it == m_settings.end() ? std::string() : it->second;
}

std::string SimWifiModule::setting(const std::string& key) const {
    return get(key);
}

bool SimWifiModule::set(const std::string& key, const std::string& value) {
    if (key == "Restore") {
        restore();
        return true;
    }
    if (key == "Restart") return true;
    if (key == "WiFiMode" && !validMode(value)) return false;
    // A hotspot password is open (empty) or at least eight characters.
    if (key == "HotPW" && !value.empty() && value.size() < 8) return false;
    if ((key == "HotSSID" || key == "RouteSSID") && value.empty()) return false;
    if (!m_settings.count(key)) return false;
    m_settings[key] = value;
    return true;
}

std::string SimWifiModule::answer(const std::string& text) {
    if (m_log.size() >= kLogLimit) m_log.erase(m_log.begin(), m_log.begin() + kLogLimit / 2);
    m_log.push_back(text);
    size_t colon = text.find(':');
    if (colon == std::string::npos || text.size() < 4) return {};
    std::string verb = text.substr(0, 4);
    std::string key = text.substr(4, colon - 4);
    if (verb == "Get_") {
        if (key != "IP" && !m_settings.count(key)) return {};
        return text.substr(0, colon + 1) + get(key) + "\r\n";
    }
    if (verb == "Set_" && set(key, text.substr(colon + 1)))
        return text.substr(0, colon + 1) + "OK\r\n";
    return {};
}
