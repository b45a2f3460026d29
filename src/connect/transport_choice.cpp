#include "connect/transport_choice.h"

#include <cctype>
#include <cstdlib>

#include "files/settings.h"
#include "link/link.h"
#include "link/link_supervisor.h"
#include "link/transport_type.h"
#include "link/transports/chosen_hid_backend.h"
#include "link/transports/hid_frame_channel.h"
#include "link/transports/hid_transport.h"
#include "link/transports/network_transport.h"
#include "link/transports/relay_transport.h"
#include "link/transports/serial_port_list.h"
#include "link/transports/serial_transport.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_backend.h"
#ifdef QX7_HAVE_HIDAPI
#include "link/transports/hidapi_backend.h"
#endif

namespace {

// The simulated device with USB writes that never complete: how a program
// copes with a device that hangs in the kernel.
constexpr const char* kStuckOption = "--simulated-stuck-usb";

struct Option {
    const char* name;
    TransportType kind;
    enum { NoPath, OptionalPath, RequiredPath } path;
    bool simulated = false;
};

const Option kOptions[] = {
    {"--serial", TransportType::Serial, Option::OptionalPath},
    {"--bluetooth", TransportType::Bluetooth, Option::RequiredPath},
    {"--simulated", TransportType::UsbHid, Option::NoPath, true},
    {kStuckOption, TransportType::UsbHid, Option::NoPath, true},
    {"--network", TransportType::Network, Option::OptionalPath},
    {"--relay", TransportType::Relay, Option::RequiredPath},
};

constexpr const char* kDeviceIdOption = "--device-id";
constexpr const char* kWifiSettings = ModuleRequests::kSettings;

bool looksLikeOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

// --network takes the next word only when it looks like an address, so that
// "--network info" leaves the command alone.
bool looksLikeAddress(const std::string& arg) {
    return !arg.empty() && (std::isdigit(static_cast<unsigned char>(arg[0])) ||
                            arg.find_first_of(".:") != std::string::npos);
}

}  // namespace

TransportChoice::TransportChoice() = default;
TransportChoice::~TransportChoice() = default;

const char* TransportChoice::helpText() {
    return "  (no option)       talk to the device on USB\n"
           "  --serial [PATH]   talk to it on a serial port; without PATH every serial port\n"
           "                    of the system is tried in turn\n"
           "  --bluetooth PATH  talk to it on a Bluetooth serial port, e.g. /dev/rfcomm0\n"
           "  --simulated       talk to the built-in simulated device\n"
           "  --simulated-stuck-usb  the same device, but it never completes a USB write\n"
           "  --usb PATH        of several processors on USB, the one at the hidraw PATH or\n"
           "                    with the serial number PATH (see the list command)\n"
           "  --network [HOST[:PORT]]  find the device's Wi-Fi module on the local network\n"
           "                    (UDP broadcast) and talk to it over TCP; with HOST, ask only\n"
           "                    HOST, at PORT (default 1010) for both; with ADDRESS/BITS\n"
           "                    (e.g. 192.168.1.20/24), search that network instead of the\n"
           "                    private networks of this machine's interfaces\n"
           "  --relay HOST[:PORT]  talk to it through the relay server HOST (port 11742,\n"
           "                    its data on the next port)\n"
           "  --device-id ID    the device ID (hexadecimal) to look for on the network or\n"
           "                    the relay server; with --simulated, the ID it reports\n"
           "  Without these, the PC connection chosen in the Wi-Fi settings is used.\n"
           "  --help            this text\n";
}

void TransportChoice::printUsage(const Program& program, std::FILE* out) {
    std::fputs(program.usage, out);
    std::fputs(helpText(), out);
}

std::optional<int> TransportChoice::parseFor(const Program& program,
                                             std::vector<std::string>& args) {
    std::string error;
    if (!parse(args, error)) {
        std::fprintf(stderr, "%s: %s\n", program.name, error.c_str());
        printUsage(program, stderr);
        return 2;
    }
    if (helpRequested()) {
        printUsage(program, stdout);
        return 0;
    }
    return std::nullopt;
}

std::optional<int> TransportChoice::rejectLeftover(const Program& program,
                                                   const std::vector<std::string>& args) {
    if (args.empty()) return std::nullopt;
    std::fprintf(stderr, "%s: unknown option %s\n", program.name, args.front().c_str());
    printUsage(program, stderr);
    return 2;
}

bool TransportChoice::choose(TransportType kind, const std::string& option, std::string& error) {
    if (!m_chosenBy.empty()) {
        error = "choose one transport: " + m_chosenBy + " and " + option + " were both given";
        return false;
    }
    m_kind = kind;
    m_chosenBy = option;
    return true;
}

bool TransportChoice::parse(std::vector<std::string>& args, std::string& error) {
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            m_help = true;
            continue;
        }
        if (arg == "--usb" || arg.rfind("--usb=", 0) == 0) {
            if (!takeUsbChoice(args, i, error)) return false;
            continue;
        }
        if (arg == kDeviceIdOption || arg.rfind(std::string(kDeviceIdOption) + "=", 0) == 0) {
            std::string value;
            if (arg != kDeviceIdOption)
                value = arg.substr(std::string(kDeviceIdOption).size() + 1);
            else if (i + 1 < args.size())
                value = args[++i];
            if (!takeDeviceId(value, error)) return false;
            continue;
        }
        const Option* option = nullptr;
        std::string value;
        bool hasValue = false;
        for (const Option& o : kOptions) {
            std::string name = o.name;
            if (arg == name) {
                option = &o;
            } else if (o.path != Option::NoPath && arg.rfind(name + "=", 0) == 0) {
                option = &o;
                value = arg.substr(name.size() + 1);
                hasValue = true;
            }
        }
        if (!option) {
            rest.push_back(arg);
            continue;
        }
        if (!choose(option->kind, option->name, error)) return false;
        m_simulated = option->simulated;
        if (!hasValue && option->path != Option::NoPath && i + 1 < args.size() &&
            !looksLikeOption(args[i + 1]) &&
            (option->kind != TransportType::Network || looksLikeAddress(args[i + 1]))) {
            value = args[++i];
            hasValue = true;
        }
        if (hasValue && value.empty()) {
            error = std::string(option->name) + " was given an empty path";
            return false;
        }
        if (!hasValue && option->path == Option::RequiredPath) {
            error = option->kind == TransportType::Relay
                        ? std::string(option->name) +
                              " needs the relay server, e.g. --relay relay.example.net:11742"
                        : std::string(option->name) + " needs the path of the port, e.g. " +
                              option->name + " /dev/rfcomm0";
            return false;
        }
        m_path = value;
    }
    if (!m_usb.empty() && (m_kind == TransportType::Serial || m_kind == TransportType::Bluetooth)) {
        error = "--usb picks a device on USB; it does not go with " + m_chosenBy;
        return false;
    }
    if (!checkGivenAddress(error)) return false;
    args = std::move(rest);
    return true;
}

bool TransportChoice::takeUsbChoice(std::vector<std::string>& args, size_t& i, std::string& error) {
    const std::string& arg = args[i];
    std::string value;
    if (arg.size() > 5 && arg[5] == '=')
        value = arg.substr(6);
    else if (i + 1 < args.size() && !looksLikeOption(args[i + 1]))
        value = args[++i];
    if (value.empty()) {
        error =
            "--usb needs the hidraw path or the serial number of a device, e.g. --usb "
            "/dev/hidraw3";
        return false;
    }
    if (!m_usb.empty()) {
        error = "--usb was given twice";
        return false;
    }
    m_usb = value;
    return true;
}

bool TransportChoice::makeBackend(const Clock& clock, std::string& error) {
    if (m_backend) return true;
    if (m_simulated) {
        m_device = std::make_unique<SimDevice>();
        if (m_deviceId != 0) m_device->setDeviceId(m_deviceId);
        if (m_chosenBy == kStuckOption) {
            SimFaults faults;
            faults.stuckWrites = true;
            m_device->setFaults(faults);
        }
        m_backend = std::make_unique<SimHidBackend>(*m_device, clock);
    } else {
#ifdef QX7_HAVE_HIDAPI
        auto backend = std::make_unique<HidapiBackend>();
        if (!backend->ready()) {
            error = "USB HID could not be started (hidapi failed to initialise)";
            return false;
        }
        m_backend = std::move(backend);
#else
        (void)clock;
        error = "USB HID is not available in this build; use --serial or --simulated";
        return false;
#endif
    }
    if (!m_usb.empty()) m_chosen = std::make_unique<ChosenHidBackend>(*m_backend, m_usb);
    return true;
}

bool TransportChoice::find(std::vector<Found>& found, std::string& error) {
    found.clear();
    bool usbSearched = true;
    if (m_kind == TransportType::UsbHid) {
        usbSearched = makeBackend(Clock::system(), error);
        HidBackend* usb = m_chosen ? m_chosen.get() : m_backend.get();
        for (const HidDeviceInfo& d : usb ? usb->enumerate() : std::vector<HidDeviceInfo>{})
            if (d.vendor == HidFrameChannel::kVendor && d.product == HidFrameChannel::kProduct)
                found.push_back({"usb", d.path, d.serial});
    }
    // A port given on the command line is the only one; the simulated device has none.
    if (!m_path.empty()) {
        found.push_back({"serial", m_path, ""});
    } else if (m_usb.empty() && !m_simulated) {
        for (const std::string& port : SerialPortList().enumerate())
            found.push_back({"serial", port, ""});
    }
    return usbSearched;
}

bool TransportChoice::takeDeviceId(const std::string& value, std::string& error) {
    char* end = nullptr;
    unsigned long id = value.empty() ? 0 : std::strtoul(value.c_str(), &end, 16);
    if (value.empty() || *end || id == 0 || id > 0xFFFFFFFEul) {
        error = std::string(kDeviceIdOption) + " takes the device ID in hexadecimal, e.g. " +
                kDeviceIdOption + " BC614E";
        return false;
    }
    m_deviceId = static_cast<uint32_t>(id);
    return true;
}

// The PC connection chosen in the Wi-Fi settings, when no option chose one.
void TransportChoice::applySetting() {
    if (!m_chosenBy.empty()) return;
    Settings settings;
    TransportType mode = transportTypeOfSetting(settings.readInt(kWifiSettings, kModeKey));
    if (mode != TransportType::Network && mode != TransportType::Relay) return;
    m_kind = mode;
    if (mode == TransportType::Relay) m_path = settings.readText(kWifiSettings, kRelayServerKey);
}

// The device ID remembered by the device-ID dialog, if the user asked for that.
uint32_t TransportChoice::rememberedDeviceId() const {
    Settings settings;
    if (settings.readInt(kWifiSettings, "Device_IDMemory") != 1) return 0;
    int id = settings.readInt(kWifiSettings, "Device_ID");
    return id == 0 || id == -1 ? 0 : static_cast<uint32_t>(id);
}

bool TransportChoice::relayAddress(RelayConfig& config, std::string& error) const {
    if (!NetAddress::splitHostPort(m_path, config.host, config.controlPort, config.controlPort)) {
        error = m_path.empty()
                    ? std::string("no relay server is set: give --relay HOST[:PORT], or set \"") +
                          kRelayServerKey + "\" in the settings file \"" + kWifiSettings + "\""
                    : "the relay server \"" + m_path + "\" is not HOST or HOST:PORT";
        return false;
    }
    if (config.host.find(':') != std::string::npos) {
        error =
            "the relay server \"" + m_path + "\" is an IPv6 address; the relay speaks IPv4 only";
        return false;
    }
    if (m_path.find(':') != std::string::npos) {
        // The data go to the next port, which must exist too.
        if (config.controlPort == 65535) {
            error = "the relay server's port must be 1 to 65534: its data use the next port";
            return false;
        }
        config.dataPort = static_cast<uint16_t>(config.controlPort + 1);
    }
    return true;
}

bool TransportChoice::checkGivenAddress(std::string& error) const {
    if (m_kind != TransportType::Relay || m_path.empty()) return true;
    RelayConfig config;
    return relayAddress(config, error);
}

bool TransportChoice::installRelay(Link& link, std::string& error) {
    RelayConfig config;
    if (!relayAddress(config, error)) return false;
    uint32_t id = m_deviceId ? m_deviceId : rememberedDeviceId();
    if (id == 0 && !m_canAsk) {
        error = std::string("the relay server needs the device ID: give ") + kDeviceIdOption +
                " ID (shown on the device's display)";
        return false;
    }
    if (id != 0) link.setDeviceIdSource([id] { return id; });
    link.setRelayTransport(
        std::make_unique<RelayTransport>(link.transportListener(), link.clock(), config));
    return true;
}

// --network HOST[:PORT]: that module only; ADDRESS/BITS[:PORT]: that network.
bool TransportChoice::networkTarget(NetworkConfig& config) const {
    std::string host;
    if (!NetAddress::splitHostPort(m_path, host, config.modulePort, config.modulePort))
        return false;
    config.tcpPort = config.modulePort;
    if (auto subnet = DiscoveryScope::Subnet::parse(host)) {
        config.subnets = std::vector<DiscoveryScope::Subnet>{*subnet};
        config.broadcast = false;
        return true;
    }
    if (host.find('/') != std::string::npos) return false;
    std::optional<uint32_t> ip = NetAddress::resolve(host);
    if (!ip) return false;
    config.host = *ip;
    return true;
}

bool TransportChoice::install(Link& link, std::string& error) {
    applySetting();
    switch (m_kind) {
        case TransportType::Network: {
            NetworkConfig config;
            if (!m_path.empty() && !networkTarget(config)) {
                error = "--network: \"" + m_path + "\" is not HOST, HOST:PORT or ADDRESS/BITS";
                return false;
            }
            // A command line cannot ask: there the only device that answers is taken.
            uint32_t id = m_deviceId ? m_deviceId : rememberedDeviceId();
            if (id != 0 || !m_canAsk)
                link.setDeviceIdSource([id] { return id ? id : DeviceIdCheck::kAnyDevice; });
            link.setNetworkTransport(std::make_unique<NetworkTransport>(
                link.transportListener(), link.clock(), link.module(), config));
            break;
        }
        case TransportType::Relay:
            if (!installRelay(link, error)) return false;
            break;
        case TransportType::UsbHid: {
            if (!makeBackend(link.clock(), error)) return false;
            HidBackend& usb = m_chosen ? *m_chosen : *m_backend;
            link.setUsbTransport(std::make_unique<HidTransport>(link.transportListener(), usb));
            break;
        }
        case TransportType::Serial:
        case TransportType::Bluetooth: {
            SerialTransport::PortSource ports;
            if (m_path.empty())
                ports = [] { return SerialPortList().enumerate(); };
            else
                ports = [path = m_path] { return std::vector<std::string>{path}; };
            link.setSerialTransport(
                std::make_unique<SerialTransport>(link.transportListener(), std::move(ports)));
            break;
        }
    }
    bool remote = m_kind == TransportType::Network || m_kind == TransportType::Relay;
    std::string noUsb;
    if (remote && m_usbFallback && makeBackend(link.clock(), noUsb)) {
        HidBackend& usb = m_chosen ? *m_chosen : *m_backend;
        link.setUsbTransport(std::make_unique<HidTransport>(link.transportListener(), usb));
    }
    link.supervisor().setInitialTransportType(m_kind);
    return true;
}
