#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Wi-Fi module's text commands: one slot per command, queued by the
// dialogs, picked for sending by the supervisor (or the network transport)
// and answered through the reply parser on a reader thread.
//
// Flags, values and attempts are atomics; each slot's text sits behind one
// small lock, since a text is replaced whole by one thread while another reads it.
class ModuleTable {
public:
    static constexpr int kSlots = 26;
    // A command and its terminator never exceed this.
    static constexpr size_t kCommandLimit = 100;
    static constexpr int kMaxAttempts = 10;
    // The client list holds at most this many modules.
    static constexpr size_t kMaxClients = 32;

    enum Slot {
        Ip = 0,
        LinkIp = 1,
        WifiMode = 2,
        TcpPort = 3,
        UdpPort = 4,
        RouterSsid = 5,
        RouterPassword = 6,
        HotspotSsid = 7,
        HotspotPassword = 8,
        Config = 9,
        UpMark = 10,
        Domain = 11,
        SetWifiMode = 15,
        SetRouterSsid = 16,
        SetRouterPassword = 17,
        SetHotspotSsid = 18,
        SetHotspotPassword = 19,
        SetRestore = 20,
        SetRestart = 21,
        SetConfig = 22,
        SetUpMark = 23,
        SetDomain = 24,
        SetServerPort = 25,
    };

    void clear();

    void setText(int slot, std::string_view text);
    std::string text(int slot) const;
    // The slot's text after the first occurrence of prefix, line ends cut;
    // nothing when the prefix is not in it.
    std::optional<std::string> textAfter(int slot, std::string_view prefix) const;
    void queue(int slot);
    void setTextAndQueue(int slot, std::string_view text);

    bool replied(int slot) const;
    void setReplied(int slot, bool replied);
    bool queued(int slot) const;
    int32_t value(int slot) const;
    void setValue(int slot, int32_t value);
    int attempts(int slot) const;

    // A reply from the module: acted on by the first known prefix found in it.
    // A "Get_IP:" reply adds its address to the client list only when asked.
    void parse(const uint8_t* bytes, size_t count, bool addClients = true);
    // The address a "Get_IP:" reply reports; nothing for any other text.
    static std::optional<uint32_t> reportedAddress(const uint8_t* bytes, size_t count);

    // The next queued command from cursor on; the cursor stays on it. With
    // counted attempts a command picked for the tenth time is dropped instead.
    std::optional<std::string> pickForSending(int& cursor, bool countAttempts);
    // The confirmation messages now due, their flags cleared. The network
    // transport's loop also confirms the server port and silently takes the domain.
    std::vector<std::string> takeConfirmations(bool network = false);

    // Module addresses reported by "Get_IP:" (first octet most significant).
    std::vector<uint32_t> clients() const;
    void clearClients();
    // False when the address was left out because the list is full.
    bool addClient(uint32_t address);
    // An address was left out since the list was last emptied.
    bool clientsOverflowed() const { return m_clientsOverflowed; }

    // prefix + text, characters below 32 left out when asked, cut so that the
    // command and its terminator fit kCommandLimit (at a character boundary).
    static std::string command(std::string_view prefix, std::string_view text, bool dropControls);
    static uint32_t parseHex(const char* text, size_t count);
    static uint32_t parseDecimal(const char* text, size_t count);
    static std::string dotted(uint32_t address);

private:
    struct Entry {
        std::atomic<bool> reply{false};
        std::atomic<bool> queued{false};
        std::atomic<int32_t> value{0};
        std::atomic<uint8_t> attempts{0};
        std::string text;  // under m_textMutex
    };

    static bool valid(int slot) { return slot >= 0 && slot < kSlots; }
    void handled(int slot);
    void parseNumber(int slot, std::string_view reply, size_t prefixSize, bool hex,
                     bool addClients);
    void parseText(int slot, std::string_view reply, size_t prefixSize);
    void parseConfig(std::string_view whole, std::string_view reply, size_t prefixSize);
    bool confirmPair(int a, int b);
    bool confirm(int slot);

    std::array<Entry, kSlots> m_slots;
    mutable std::mutex m_textMutex;
    mutable std::mutex m_clientMutex;
    std::vector<uint32_t> m_clients;
    std::atomic<bool> m_clientsOverflowed{false};
};
