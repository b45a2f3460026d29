#include "link/link.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "files/settings.h"
#include "link/device_carrier.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/module_carrier.h"
#include "link/network_search.h"
#include "link/port_carrier.h"
#include "link/relay_carrier.h"
#include "link/relay_search.h"
#include "link/serial_search.h"
#include "link/transport.h"
#include "link/transport_type.h"
#include "link/usb_search.h"
#include "platform/clock.h"
#include "texts/language.h"
#include "texts/link_texts.h"
#include "texts/network_texts.h"
#include "texts/text_triple.h"

namespace {

size_t slotOf(TransportType type) {
    switch (type) {
        case TransportType::UsbHid:
            return 1;
        case TransportType::Network:
            return 2;
        case TransportType::Relay:
            return 3;
        case TransportType::Serial:
        case TransportType::Bluetooth:
            break;
    }
    return 0;
}

// Device IDs met so far are remembered while the user asked for it.
void rememberDeviceId(uint32_t number) {
    Settings settings;
    if (settings.readInt("WIFI_Mode", "Device_IDMemory") > 0)
        settings.addToList("WIFI_Mode", "Device_IDS", static_cast<int>(number));
}

// The supervisor still runs and uses the link: the process cannot go on
// tearing it down, so it ends here.
[[noreturn]] void leaveWithoutTheLink() {
    std::fprintf(stderr,
                 "QX7: the device link did not end within %u ms (the device does not let go); "
                 "closing without it.\n",
                 Link::kShutdownLimitMs);
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

Link::Link(LinkUi& ui, const Clock& clock)
    : m_ui(ui),
      m_clock(clock),
      m_parser(clock, m_state, m_mirror, m_device),
      m_progress(ui, m_state),
      m_supervisor(std::make_unique<LinkSupervisor>(*this)) {
    m_parser.setDeviceIdSink(rememberDeviceId);
    m_parser.setChangeSink([this] { m_ui.valuesChanged(); });
    m_parser.setModuleTextSink(
        [this](const uint8_t* text, size_t size) { m_module.parse(text, size); });
    m_supervisor->setModuleStep([this] { return moduleStep(); });
}

Link::~Link() {
    auto start = std::chrono::steady_clock::now();
    m_supervisor->stop();
    auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    auto left = std::max<int64_t>(0, int64_t{kShutdownLimitMs} - spent.count());
    if (!m_supervisor->joinWithin(static_cast<uint32_t>(left))) {
        if (!m_overdue) leaveWithoutTheLink();
        m_overdue();
        m_supervisor->join();
    }
    for (auto& t : m_transports)
        if (t) t->close();
}

void Link::setTransport(TransportType type, std::unique_ptr<Transport> transport) {
    m_searches[slotOf(type)].reset();
    m_transports[slotOf(type)] = std::move(transport);
}

void Link::setUsbTransport(std::unique_ptr<DeviceCarrier> carrier) {
    size_t slot = slotOf(TransportType::UsbHid);
    m_searches[slot] = std::make_unique<UsbSearch>(*this, *carrier);
    m_transports[slot] = std::move(carrier);
}

void Link::setSerialTransport(std::unique_ptr<PortCarrier> carrier) {
    size_t slot = slotOf(TransportType::Serial);
    m_searches[slot] = std::make_unique<SerialSearch>(*this, *carrier);
    m_transports[slot] = std::move(carrier);
}

void Link::setNetworkTransport(std::unique_ptr<ModuleCarrier> carrier) {
    size_t slot = slotOf(TransportType::Network);
    m_searches[slot] = std::make_unique<NetworkSearch>(*this, *carrier);
    m_transports[slot] = std::move(carrier);
}

void Link::setRelayTransport(std::unique_ptr<RelayCarrier> carrier) {
    size_t slot = slotOf(TransportType::Relay);
    m_searches[slot] = std::make_unique<RelaySearch>(*this, *carrier);
    m_transports[slot] = std::move(carrier);
}

Transport* Link::transportFor(TransportType type) const {
    return m_transports[slotOf(type)].get();
}

bool Link::isConnected() const {
    TransportType type = m_state.transportType;
    Transport* t = transportFor(type);
    // Their carrier is up before the device behind it is proved.
    if (type == TransportType::Network || type == TransportType::Relay) return t && m_state.alive();
    return t && t->carrierUp();
}

void Link::search(TransportType type) {
    if (TransportSearch* search = m_searches[slotOf(type)].get())
        search->connect(handshakeFor(type));
    else
        sleep(100);
}

Handshake& Link::handshakeFor(TransportType type) {
    switch (type) {
        case TransportType::UsbHid:
            return m_usbProbe;
        case TransportType::Network:
            return m_deviceIdCheck;
        case TransportType::Relay:
            return m_relayBind;
        case TransportType::Serial:
        case TransportType::Bluetooth:
            break;
    }
    return m_serialProbe;
}

bool Link::claimAlive(const Transport& carrier) {
    std::lock_guard lock(m_aliveMutex);
    if (carrier.carrierUp()) m_state.linkAlive = true;
    return carrier.carrierUp();
}

void Link::Listener::received(const uint8_t* bytes, size_t size) {
    m_link.m_parser.parse(bytes, size);
}

void Link::Listener::carrierDown(const std::function<void()>& lower) {
    LinkState& state = m_link.m_state;
    {
        std::lock_guard lock(m_link.m_aliveMutex);
        state.linkAlive = false;
        if (lower) lower();
    }
    if (state.awaitingReply) state.replySemaphore.release();
}

void Link::Listener::notice(Notice notice, int argument, const std::string& text) {
    LinkUi& ui = m_link.m_ui;
    switch (notice) {
        case Notice::Searching:
            ui.sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
            break;
        case Notice::ChooseModule:
            ui.sendEvent(LinkEvent::ClientList, argument);
            break;
        case Notice::RelayStatus:
            ui.sendEvent(LinkEvent::RelayStatus, argument);
            break;
        case Notice::ClientListFull:
            m_link.message(networktext::ClientListFull);
            break;
        case Notice::EquipmentBusy:
            m_link.message(linktext::EquipmentBusy);
            break;
        case Notice::WrongDeviceId:
            m_link.message(linktext::DeviceIdCorrect);
            break;
        case Notice::ModuleSaid:
            m_link.message(text, "WiFi");
            break;
    }
}

void Link::send(Command command, const uint8_t* payload, size_t size) {
    if (command != Command::ModuleText && ticksSince(m_clock.ticks(), m_state.lastReplyTime) >=
                                              static_cast<uint32_t>(m_state.timing.silenceLimit)) {
        uint8_t before = m_state.missedReplies.load();
        m_state.missedReplies = static_cast<uint8_t>(before + 1);
        if (before >= m_state.timing.missedLimit) {
            m_state.missedReplies = 0;
            m_state.linkAlive = false;
        }
    }
    Transport* t = transport();
    if (!t) return;
    std::vector<uint8_t> frame = Frame::build(command, payload, size);
    t->sendFrame(frame.data(), frame.size());
}

void Link::readParameter(int index) {
    std::vector<uint8_t> payload;
    Frame::putU16(payload, static_cast<uint16_t>(index));
    send(Command::ReadParameters, payload);
}

void Link::writeParameterDirect(int index, uint16_t value) {
    std::vector<uint8_t> payload;
    Frame::putU16(payload, static_cast<uint16_t>(index));
    Frame::putU16(payload, value);
    send(Command::WriteParameters, payload);
}

bool Link::sendWriteBatch(int start, int n) {
    std::vector<uint8_t> payload = m_mirror.takeWriteBatch(start, n);
    if (payload.empty()) return false;
    send(Command::WriteParameters, payload);
    return true;
}

bool Link::sleep(uint32_t ms) const {
    return m_clock.sleepUnlessStopped(ms, m_state.stopToken());
}

bool Link::waitForReply(uint32_t ms) {
    if (m_state.stopping() || !isConnected()) return false;
    return m_state.replySemaphore.acquire(m_clock, ms);
}

bool Link::request(Command command, const std::vector<uint8_t>& payload, uint32_t waitMs) {
    m_state.awaitingReply = true;
    send(command, payload);
    bool signalled = waitForReply(waitMs);
    m_state.awaitingReply = false;
    return signalled;
}

bool Link::requestOn(const Transport& carrier, Command command, const std::vector<uint8_t>& payload,
                     uint32_t waitMs) {
    m_state.replySemaphore.tryAcquire();
    m_state.awaitingReply = true;
    send(command, payload);
    bool signalled = !m_state.stopping() && carrier.carrierUp() &&
                     m_state.replySemaphore.acquire(m_clock, waitMs);
    m_state.awaitingReply = false;
    return signalled;
}

bool Link::requestBatch(Command command, const std::vector<uint8_t>& batch, uint32_t waitMs) {
    return !batch.empty() && request(command, batch, waitMs);
}

bool Link::requestParameter(int index, uint32_t waitMs) {
    std::vector<uint8_t> payload;
    Frame::putU16(payload, static_cast<uint16_t>(index));
    return request(Command::ReadParameters, payload, waitMs);
}

bool Link::moduleStep() {
    std::optional<std::string> text = m_module.pickForSending(m_moduleCursor, true);
    if (text) {
        std::vector<uint8_t> payload(text->begin(), text->end());
        payload.push_back(0);
        request(Command::ModuleText, payload,
                static_cast<uint32_t>(m_state.timing.replyWait.load()));
    }
    for (const std::string& confirmation : m_module.takeConfirmations())
        message(confirmation, "WiFi");
    return text.has_value();
}

LinkUi::Answer Link::message(const std::string& text, const std::string& caption,
                             LinkUi::Buttons buttons) {
    if (m_state.stopping()) return LinkUi::No;
    return m_ui.messageBox(text, caption.empty() ? title() : caption, Language::index(), buttons);
}

LinkUi::Answer Link::message(const TextTriple& text, LinkUi::Buttons buttons) {
    return message(std::string(text.get()), {}, buttons);
}

void Link::setTitle(const std::string& title) {
    {
        std::lock_guard lock(m_titleMutex);
        m_title = title;
    }
    m_ui.setWindowTitle(title);
}

std::string Link::title() const {
    std::lock_guard lock(m_titleMutex);
    return m_title;
}
