#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/module_requests.h"
#include "link/transport_type.h"

class Clock;
class HidBackend;
class Link;
class SimDevice;
struct NetworkConfig;
struct RelayConfig;

// How a program reaches the device, chosen on its command line and shared
// by every program:
//   (none)              USB HID (transport type 1)
//   --serial [PATH]     serial port, type 0; without PATH the system's ports are searched
//   --bluetooth PATH    Bluetooth serial port, type 3
//   --simulated         the built-in simulated device, on a simulated USB
//   --simulated-stuck-usb  the same, with USB writes that never complete
//   --usb PATH          with USB or the simulated device: only the processor
//                       at that hidraw path or with that serial number
//   --network [HOST[:PORT] | ADDRESS/BITS[:PORT]]
//                       the device's Wi-Fi module on the local network, type 2
//   --relay HOST[:PORT] the device through a relay server, type 4
//   --device-id ID      the device ID (hexadecimal) the network and relay look for
// Without a transport option the settings key "m_COM_MdoeIO" in "WIFI_Mode"
// chooses: 2 network, 4 relay (its server from the key "Relay_Server"),
// anything else USB HID.
//
// Use:
//   TransportChoice choice;            // declare before the Link: it must outlive it
//   std::string error;
//   if (!choice.parse(args, error)) { print error and helpText(); exit 2 }
//   if (choice.helpRequested()) { print helpText(); exit 0 }
//   Link link(ui, clock);
//   if (!choice.install(link, error)) { print error; exit 1 }
//   link.supervisor().start();
// A program with few options of its own has the first two steps in parseFor.
class TransportChoice {
public:
    // A processor a program can see: on USB with its path and serial number,
    // or a serial port it may be on.
    struct Found {
        std::string transport;  // "usb" or "serial"
        std::string path;
        std::string serial;
    };
    // A program's name and the lines its --help starts with.
    struct Program {
        const char* name;
        const char* usage;
    };

    TransportChoice();
    ~TransportChoice();
    TransportChoice(const TransportChoice&) = delete;
    TransportChoice& operator=(const TransportChoice&) = delete;

    // Takes the transport options (and --help) out of args and leaves the
    // rest to the caller. False, with a message, for a malformed or second choice.
    bool parse(std::vector<std::string>& args, std::string& error);
    bool helpRequested() const { return m_help; }
    // The lines that describe the options above, for the program's --help.
    static const char* helpText();

    // Takes the transport options out of args. On a mistake prints it and the
    // usage to stderr and gives exit code 2; on --help prints the usage and
    // gives 0; nothing when the program goes on.
    std::optional<int> parseFor(const Program& program, std::vector<std::string>& args);
    // For what is left of the command line: prints its first word as an
    // unknown option with the usage and gives 2; nothing when args is empty.
    static std::optional<int> rejectLeftover(const Program& program,
                                             const std::vector<std::string>& args);
    static void printUsage(const Program& program, std::FILE* out);

    TransportType kind() const { return m_kind; }
    // USB HID to the simulated device of --simulated.
    bool simulated() const { return m_simulated; }
    // The port given with --serial or --bluetooth, or the server of --relay; empty to search.
    const std::string& path() const { return m_path; }
    // The --device-id given; 0 when none.
    uint32_t deviceId() const { return m_deviceId; }

    // Gives the link its transport and initial transport type. False, with a
    // message, when this build cannot reach the device that way.
    bool install(Link& link, std::string& error);
    // The processors on USB (narrowed by --usb) and the serial ports, without
    // opening any. False, with a message, when USB could not be searched (the
    // serial ports are listed all the same).
    bool find(std::vector<Found>& found, std::string& error);
    // A program with a window asks the user for a device ID the link lacks
    // (link event 11); without one, the relay transport needs it given.
    void setCanAskForDeviceId(bool can) { m_canAsk = can; }
    // A program with a window also installs USB beside the network or relay
    // transport, so that the user can switch to it when nothing is found.
    void setUsbFallback(bool fallback) { m_usbFallback = fallback; }
    // The simulated device of --simulated, after install; null otherwise.
    SimDevice* simulatedDevice() const { return m_device.get(); }

    // Settings keys of the transport choice and the relay server, in "WIFI_Mode".
    static constexpr const char* kModeKey = ModuleRequests::kConnectionKey;
    static constexpr const char* kRelayServerKey = ModuleRequests::kRelayServerKey;

private:
    bool choose(TransportType kind, const std::string& option, std::string& error);
    bool takeUsbChoice(std::vector<std::string>& args, size_t& i, std::string& error);
    // The USB backend of this choice (hidapi or the simulated device's).
    bool makeBackend(const Clock& clock, std::string& error);
    bool takeDeviceId(const std::string& value, std::string& error);
    void applySetting();
    bool installRelay(Link& link, std::string& error);
    // The relay server's address and ports from the path.
    bool relayAddress(RelayConfig& config, std::string& error) const;
    bool networkTarget(NetworkConfig& config) const;
    // A relay server given on the command line is checked with the other
    // options, so that a mistyped one is a wrong command line.
    bool checkGivenAddress(std::string& error) const;
    uint32_t rememberedDeviceId() const;

    TransportType m_kind = TransportType::UsbHid;
    bool m_simulated = false;
    std::string m_chosenBy;
    std::string m_path;
    std::string m_usb;
    bool m_help = false;
    uint32_t m_deviceId = 0;
    bool m_canAsk = false;
    bool m_usbFallback = false;
    std::unique_ptr<SimDevice> m_device;
    std::unique_ptr<HidBackend> m_backend;
    std::unique_ptr<HidBackend> m_chosen;
};
