#pragma once

#include <string>

class ModuleTable;

// What the Wi-Fi settings dialog and qx7ctl ask of the module, with the rules
// for SSIDs and passwords; the texts are queued on the module table.
class ModuleRequests {
public:
    enum class Refusal { None, SsidEmpty, PasswordTooShort };
    enum Mode { Hotspot = 1, Router = 2, RelayServer = 3 };
    // The settings file of the module and the PC connection, and two of its keys:
    // the PC connection's transport type, and the relay server (HOST or
    // HOST:PORT), of which there is no built-in one.
    static constexpr const char* kSettings = "WIFI_Mode";
    static constexpr const char* kConnectionKey = "m_COM_MdoeIO";
    static constexpr const char* kRelayServerKey = "Relay_Server";
    // The relay server's host from the settings; empty when none is set.
    static std::string relayHost();

    explicit ModuleRequests(ModuleTable& table) : m_table(table) {}

    // Gives the read commands their texts and queues the ones that are re-read.
    void queueReadSet();
    // The SSID goes even when the password is then refused.
    Refusal setHotspot(const std::string& ssid, const std::string& password);
    Refusal setRouter(const std::string& ssid, const std::string& password);
    // Also takes the mode as the table's current mode value.
    void setMode(int mode);
    // Points the module at host when it reports another domain.
    void setDomainUnlessReported(const std::string& host);

    ModuleTable& table() { return m_table; }

private:
    ModuleTable& m_table;
};
