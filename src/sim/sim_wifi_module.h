#pragma once

#include <map>
#include <string>
#include <vector>

// The Wi-Fi module behind the simulated device: it remembers its hotspot and
// router settings, its mode and ports, and answers the "Get_" and "Set_" texts
// as a module would. Not thread-safe; the device holds it under its lock.
class SimWifiModule {
public:
    static constexpr size_t kLogLimit = 256;

    SimWifiModule();

    // The reply to one command text, empty when the module stays silent.
    std::string answer(const std::string& text);

    // A setting as "Get_" + key would report it ("HotSSID", "WiFiMode"...).
    std::string setting(const std::string& key) const;
    // The command texts received, oldest first (bounded).
    std::vector<std::string> log() const { return m_log; }

private:
    std::string get(const std::string& key) const;
    bool set(const std::string& key, const std::string& value);
    void restore();

    std::map<std::string, std::string> m_settings;
    std::vector<std::string> m_log;
};
