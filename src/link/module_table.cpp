#include "link/module_table.h"

#include <algorithm>
#include <cstring>

namespace {

enum class Kind { Hex, Decimal, Text, Config, Confirmation };

struct ReplyRule {
    const char* prefix;
    int slot;
    Kind kind;
};

// Tested in this order; the first prefix found anywhere in the reply wins.
constexpr ReplyRule kRules[] = {
    {"Get_IP:", ModuleTable::Ip, Kind::Hex},
    {"Get_LinkIP:", ModuleTable::LinkIp, Kind::Hex},
    {"Get_WiFiMode:", ModuleTable::WifiMode, Kind::Hex},
    {"Get_TCPPort:", ModuleTable::TcpPort, Kind::Decimal},
    {"Get_UDPPort:", ModuleTable::UdpPort, Kind::Decimal},
    {"Get_RouteSSID:", ModuleTable::RouterSsid, Kind::Text},
    {"Get_RoutePW:", ModuleTable::RouterPassword, Kind::Text},
    {"Get_HotSSID:", ModuleTable::HotspotSsid, Kind::Text},
    {"Get_HotPW:", ModuleTable::HotspotPassword, Kind::Text},
    {"Get_Domain:", ModuleTable::Domain, Kind::Text},
    {"Get_UpMark:", ModuleTable::UpMark, Kind::Text},
    {"Get_Confi:", ModuleTable::Config, Kind::Config},
    {"Set_WiFiMode:", ModuleTable::SetWifiMode, Kind::Confirmation},
    {"Set_RouteSSID:", ModuleTable::SetRouterSsid, Kind::Confirmation},
    {"Set_RoutePW:", ModuleTable::SetRouterPassword, Kind::Confirmation},
    {"Set_HotSSID:", ModuleTable::SetHotspotSsid, Kind::Confirmation},
    {"Set_HotPW:", ModuleTable::SetHotspotPassword, Kind::Confirmation},
    {"Set_Restore:", ModuleTable::SetRestore, Kind::Confirmation},
    {"Set_Restart:", ModuleTable::SetRestart, Kind::Confirmation},
    {"Set_UpMark:", ModuleTable::SetUpMark, Kind::Confirmation},
    {"Set_ServerPort:", ModuleTable::SetServerPort, Kind::Confirmation},
    {"Set_Domain:", ModuleTable::SetDomain, Kind::Confirmation},
    {"Set_Confi:", ModuleTable::SetConfig, Kind::Confirmation},
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c == ' ' ? 0 : -1;
}

bool continuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

void ModuleTable::clear() {
    {
        std::lock_guard lock(m_textMutex);
        for (Entry& e : m_slots) e.text.clear();
    }
    for (Entry& e : m_slots) {
        e.reply = false;
        e.queued = false;
        e.value = 0;
        e.attempts = 0;
    }
    clearClients();
}

void ModuleTable::setText(int slot, std::string_view text) {
    if (!valid(slot)) return;
    std::lock_guard lock(m_textMutex);
    m_slots[static_cast<size_t>(slot)].text.assign(
        text.substr(0, std::min(text.find('\0'), text.size())));
}

std::string ModuleTable::text(int slot) const {
    if (!valid(slot)) return {};
    std::lock_guard lock(m_textMutex);
    return m_slots[static_cast<size_t>(slot)].text;
}

std::optional<std::string> ModuleTable::textAfter(int slot, std::string_view prefix) const {
    std::string whole = text(slot);
    size_t at = whole.find(prefix);
    if (at == std::string::npos) return std::nullopt;
    std::string rest = whole.substr(at + prefix.size());
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n')) rest.pop_back();
    return rest;
}

void ModuleTable::queue(int slot) {
    if (valid(slot)) m_slots[static_cast<size_t>(slot)].queued = true;
}

void ModuleTable::setTextAndQueue(int slot, std::string_view text) {
    setText(slot, text);
    queue(slot);
}

bool ModuleTable::replied(int slot) const {
    return valid(slot) && m_slots[static_cast<size_t>(slot)].reply;
}

void ModuleTable::setReplied(int slot, bool replied) {
    if (valid(slot)) m_slots[static_cast<size_t>(slot)].reply = replied;
}

bool ModuleTable::queued(int slot) const {
    return valid(slot) && m_slots[static_cast<size_t>(slot)].queued;
}

int32_t ModuleTable::value(int slot) const {
    return valid(slot) ? m_slots[static_cast<size_t>(slot)].value.load() : 0;
}

void ModuleTable::setValue(int slot, int32_t value) {
    if (valid(slot)) m_slots[static_cast<size_t>(slot)].value = value;
}

int ModuleTable::attempts(int slot) const {
    return valid(slot) ? m_slots[static_cast<size_t>(slot)].attempts.load() : 0;
}

void ModuleTable::handled(int slot) {
    Entry& e = m_slots[static_cast<size_t>(slot)];
    e.queued = false;
    e.attempts = 0;
    e.reply = true;
}

namespace {
std::string_view textOf(const uint8_t* bytes, size_t count) {
    const char* chars = reinterpret_cast<const char*>(bytes);
    return std::string_view(chars,
                            static_cast<size_t>(std::find(chars, chars + count, '\0') - chars));
}
}  // namespace

std::optional<uint32_t> ModuleTable::reportedAddress(const uint8_t* bytes, size_t count) {
    if (!bytes) return std::nullopt;
    std::string_view whole = textOf(bytes, count);
    const std::string_view prefix = kRules[0].prefix;
    size_t at = whole.find(prefix);
    if (at == std::string_view::npos || whole.size() <= at + prefix.size()) return std::nullopt;
    std::string_view digits = whole.substr(at + prefix.size());
    return parseHex(digits.data(), digits.size());
}

void ModuleTable::parse(const uint8_t* bytes, size_t count, bool addClients) {
    if (!bytes) return;
    std::string_view whole = textOf(bytes, count);
    for (const ReplyRule& rule : kRules) {
        size_t at = whole.find(rule.prefix);
        if (at == std::string_view::npos) continue;
        std::string_view reply = whole.substr(at);
        size_t prefixSize = std::strlen(rule.prefix);
        switch (rule.kind) {
            case Kind::Hex:
                parseNumber(rule.slot, reply, prefixSize, true, addClients);
                break;
            case Kind::Decimal:
                parseNumber(rule.slot, reply, prefixSize, false, addClients);
                break;
            case Kind::Text:
                parseText(rule.slot, reply, prefixSize);
                break;
            case Kind::Config:
                parseConfig(whole, reply, prefixSize);
                break;
            case Kind::Confirmation:
                handled(rule.slot);
                break;
        }
        return;
    }
}

void ModuleTable::parseNumber(int slot, std::string_view reply, size_t prefixSize, bool hex,
                              bool addClients) {
    if (reply.size() <= prefixSize) return;
    std::string_view digits = reply.substr(prefixSize);
    uint32_t number =
        hex ? parseHex(digits.data(), digits.size()) : parseDecimal(digits.data(), digits.size());
    m_slots[static_cast<size_t>(slot)].value = static_cast<int32_t>(number);
    if (slot == Ip && addClients) addClient(number);
    handled(slot);
}

void ModuleTable::parseText(int slot, std::string_view reply, size_t prefixSize) {
    {
        std::lock_guard lock(m_textMutex);
        m_slots[static_cast<size_t>(slot)].text.assign(reply);
    }
    m_slots[static_cast<size_t>(slot)].value = static_cast<int32_t>(reply.size() - prefixSize);
    handled(slot);
}

void ModuleTable::parseConfig(std::string_view whole, std::string_view reply, size_t prefixSize) {
    if (reply.size() > prefixSize) {
        {
            std::lock_guard lock(m_textMutex);
            m_slots[Config].text.assign(reply.substr(prefixSize));
        }
        m_slots[Config].value = static_cast<int32_t>(whole.size()) - 8;
    }
    handled(Config);
}

std::optional<std::string> ModuleTable::pickForSending(int& cursor, bool countAttempts) {
    if (cursor < 0 || cursor >= kSlots) cursor = 0;
    for (int n = 0; n < kSlots; ++n) {
        int slot = (cursor + n) % kSlots;
        Entry& e = m_slots[static_cast<size_t>(slot)];
        if (!e.queued) continue;
        cursor = slot;
        if (countAttempts && ++e.attempts >= kMaxAttempts) {
            e.queued = false;
            e.attempts = 0;
            return std::nullopt;
        }
        return text(slot);
    }
    return std::nullopt;
}

bool ModuleTable::confirm(int slot) {
    if (!replied(slot)) return false;
    setReplied(slot, false);
    return true;
}

bool ModuleTable::confirmPair(int a, int b) {
    if (!replied(a) || !replied(b)) return false;
    setReplied(a, false);
    setReplied(b, false);
    return true;
}

std::vector<std::string> ModuleTable::takeConfirmations(bool network) {
    std::vector<std::string> messages;
    if (confirmPair(SetRouterSsid, SetRouterPassword)) messages.emplace_back("Set RouteS:OK");
    if (confirmPair(SetHotspotSsid, SetHotspotPassword)) messages.emplace_back("Set Hot:OK");
    if (confirm(SetWifiMode)) messages.emplace_back("WiFiMode:OK");
    if (confirm(SetRestore)) messages.emplace_back("Restore:OK");
    if (confirm(SetRestart)) messages.emplace_back("Restart:OK");
    if (network) {
        if (confirm(SetServerPort)) messages.emplace_back("Set_ServerPort:OK");
        confirm(SetDomain);
    }
    return messages;
}

bool ModuleTable::addClient(uint32_t address) {
    if (address == 0) return true;
    std::lock_guard lock(m_clientMutex);
    if (std::find(m_clients.begin(), m_clients.end(), address) != m_clients.end()) return true;
    if (m_clients.size() >= kMaxClients) {
        m_clientsOverflowed = true;
        return false;
    }
    m_clients.push_back(address);
    return true;
}

std::vector<uint32_t> ModuleTable::clients() const {
    std::lock_guard lock(m_clientMutex);
    return m_clients;
}

void ModuleTable::clearClients() {
    std::lock_guard lock(m_clientMutex);
    m_clients.clear();
    m_clientsOverflowed = false;
}

std::string ModuleTable::command(std::string_view prefix, std::string_view text,
                                 bool dropControls) {
    std::string out(prefix.substr(0, kCommandLimit - 1));
    for (char c : text) {
        if (c == '\0' || (dropControls && static_cast<unsigned char>(c) < 32)) continue;
        out += c;
    }
    if (out.size() <= kCommandLimit - 1) return out;
    size_t cut = kCommandLimit - 1;
    while (cut > prefix.size() && continuationByte(out[cut])) --cut;
    out.resize(cut);
    return out;
}

uint32_t ModuleTable::parseHex(const char* text, size_t count) {
    uint32_t result = 0;
    for (size_t i = 0; i < count; ++i) {
        int digit = hexDigit(text[i]);
        if (digit < 0) continue;
        result = result << 4 | static_cast<uint32_t>(digit);
    }
    return result;
}

uint32_t ModuleTable::parseDecimal(const char* text, size_t count) {
    uint32_t result = 0;
    for (size_t i = 0; i < count; ++i)
        if (text[i] >= '0' && text[i] <= '9')
            result = result * 10 + static_cast<uint32_t>(text[i] - '0');
    return result;
}

std::string ModuleTable::dotted(uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 0xFF) + "." +
           std::to_string(address >> 8 & 0xFF) + "." + std::to_string(address & 0xFF);
}
