#include "link/module_requests.h"

#include "files/settings.h"
#include "link/module_table.h"

namespace {

struct ReadCommand {
    int slot;
    const char* text;
    bool queued;
};

constexpr ReadCommand kReadSet[] = {
    {ModuleTable::Ip, "Get_IP:", true},
    {ModuleTable::WifiMode, "Get_WiFiMode:", true},
    {ModuleTable::TcpPort, "Get_TCPPort:", false},
    {ModuleTable::UdpPort, "Get_UDPPort:", false},
    {ModuleTable::RouterSsid, "Get_RouteSSID:", true},
    {ModuleTable::RouterPassword, "Get_RoutePW:", true},
    {ModuleTable::HotspotSsid, "Get_HotSSID:", true},
    {ModuleTable::HotspotPassword, "Get_HotPW:", true},
};

constexpr size_t kMinimumHotspotPassword = 8;

}  // namespace

void ModuleRequests::queueReadSet() {
    for (const ReadCommand& c : kReadSet) {
        m_table.setText(c.slot, c.text);
        if (c.queued) m_table.queue(c.slot);
    }
}

ModuleRequests::Refusal ModuleRequests::setHotspot(const std::string& ssid,
                                                   const std::string& password) {
    if (ssid.empty()) return Refusal::SsidEmpty;
    m_table.setTextAndQueue(ModuleTable::SetHotspotSsid,
                            ModuleTable::command("Set_HotSSID:", ssid, true));
    if (!password.empty() && password.size() < kMinimumHotspotPassword)
        return Refusal::PasswordTooShort;
    m_table.setTextAndQueue(ModuleTable::SetHotspotPassword,
                            ModuleTable::command("Set_HotPW:", password, true));
    return Refusal::None;
}

ModuleRequests::Refusal ModuleRequests::setRouter(const std::string& ssid,
                                                  const std::string& password) {
    if (ssid.empty()) return Refusal::SsidEmpty;
    m_table.setTextAndQueue(ModuleTable::SetRouterSsid,
                            ModuleTable::command("Set_RouteSSID:", ssid, false));
    m_table.setTextAndQueue(ModuleTable::SetRouterPassword,
                            ModuleTable::command("Set_RoutePW:", password, true));
    return Refusal::None;
}

void ModuleRequests::setMode(int mode) {
    m_table.setTextAndQueue(ModuleTable::SetWifiMode, "Set_WiFiMode:" + std::to_string(mode));
    m_table.setValue(ModuleTable::WifiMode, mode);
}

void ModuleRequests::setDomainUnlessReported(const std::string& host) {
    std::string reported = m_table.text(ModuleTable::Domain);
    reported = reported.size() > 11 ? reported.substr(11) : std::string();
    while (!reported.empty() && (reported.back() == '\r' || reported.back() == '\n'))
        reported.pop_back();
    if (reported != host)
        m_table.setTextAndQueue(ModuleTable::SetDomain,
                                ModuleTable::command("Set_Domain:", host, true));
}

std::string ModuleRequests::relayHost() {
    std::string server = Settings().readText(kSettings, kRelayServerKey);
    return server.substr(0, server.find(':'));
}
