#include "connect/transport_choice.h"

#include "link/link.h"
#include "link/link_supervisor.h"
#include "link/transport_type.h"
#include "link/transports/hid_transport.h"
#include "link/transports/serial_port_list.h"
#include "link/transports/serial_transport.h"
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
    TransportChoice::Kind kind;
    enum { NoPath, OptionalPath, RequiredPath } path;
};

const Option kOptions[] = {
    {"--serial", TransportChoice::Kind::Serial, Option::OptionalPath},
    {"--bluetooth", TransportChoice::Kind::Bluetooth, Option::RequiredPath},
    {"--simulated", TransportChoice::Kind::Simulated, Option::NoPath},
    {kStuckOption, TransportChoice::Kind::Simulated, Option::NoPath},
};

bool looksLikeOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
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

bool TransportChoice::choose(Kind kind, const std::string& option, std::string& error) {
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
        if (!hasValue && option->path != Option::NoPath && i + 1 < args.size() &&
            !looksLikeOption(args[i + 1])) {
            value = args[++i];
            hasValue = true;
        }
        if (hasValue && value.empty()) {
            error = std::string(option->name) + " was given an empty path";
            return false;
        }
        if (!hasValue && option->path == Option::RequiredPath) {
            error = std::string(option->name) + " needs the path of the port, e.g. " +
                    option->name + " /dev/rfcomm0";
            return false;
        }
        m_path = value;
    }
    args = std::move(rest);
    return true;
}

int TransportChoice::transportType() const {
    switch (m_kind) {
        case Kind::Serial:
            return TransportType::Serial;
        case Kind::Bluetooth:
            return TransportType::BluetoothSerial;
        default:
            return TransportType::UsbHid;
    }
}

bool TransportChoice::install(Link& link, std::string& error) {
    switch (m_kind) {
        case Kind::UsbHid: {
#ifdef QX7_HAVE_HIDAPI
            auto backend = std::make_unique<HidapiBackend>();
            if (!backend->ready()) {
                error = "USB HID could not be started (hidapi failed to initialise)";
                return false;
            }
            link.setTransport(TransportType::UsbHid,
                              std::make_unique<HidTransport>(link, *backend));
            m_backend = std::move(backend);
            break;
#else
            error = "USB HID is not available in this build; use --serial or --simulated";
            return false;
#endif
        }
        case Kind::Simulated:
            m_device = std::make_unique<SimDevice>();
            if (m_chosenBy == kStuckOption) {
                SimFaults faults;
                faults.stuckWrites = true;
                m_device->setFaults(faults);
            }
            m_backend = std::make_unique<SimHidBackend>(*m_device, link.clock());
            link.setTransport(TransportType::UsbHid,
                              std::make_unique<HidTransport>(link, *m_backend));
            break;
        case Kind::Serial:
        case Kind::Bluetooth: {
            SerialTransport::PortSource ports;
            if (m_path.empty())
                ports = [] { return SerialPortList().enumerate(); };
            else
                ports = [path = m_path] { return std::vector<std::string>{path}; };
            link.setTransport(TransportType::Serial,
                              std::make_unique<SerialTransport>(link, std::move(ports)));
            break;
        }
    }
    link.supervisor().setInitialTransportType(transportType());
    return true;
}
