#include "sim/sim_module_server.h"

#include <array>
#include <cstdio>

#include "link/frame.h"
#include "link/transports/module_packet.h"
#include "link/transports/net_envelope.h"
#include "platform/clock.h"
#include "platform/net/tcp_stream.h"

namespace {
constexpr uint32_t kSliceMs = 5;
constexpr size_t kInputLimit = 65536;
const std::string kGetIp = "Get_IP:";
const std::string kGetLinkIp = "Get_LinkIP:";

std::string hex(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", v);
    return text;
}
}  // namespace

SimModuleServer::SimModuleServer(SimDevice& device, const Clock& clock)
    : m_device(device),
      m_clock(clock),
      m_unaskedListeners(device.unaskedListeners()),
      m_unaskedListener(m_unaskedListeners->add([this] { m_unaskedDue = true; })) {}

SimModuleServer::~SimModuleServer() {
    m_unaskedListeners->remove(m_unaskedListener);
    stop();
}

bool SimModuleServer::start(uint16_t port, uint32_t address) {
    stop();
    if (!NetAddress::isLoopback(address)) {
        m_error = "the simulated module serves on loopback addresses only";
        return false;
    }
    m_address = address;
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (m_udp.open(NetAddress{address, port}, false)) {
            if (m_listener.listen(NetAddress{address, m_udp.localPort()})) {
                m_port = m_udp.localPort();
                m_stop = std::stop_source();
                m_thread = std::jthread([this] { serve(); });
                return true;
            }
            m_udp.close();
        }
        if (port != 0) break;
    }
    m_error = "the module's port on " + NetAddress::text(address) + " could not be opened";
    return false;
}

void SimModuleServer::stop() {
    m_stop.request_stop();
    if (m_thread.joinable()) m_thread.join();
    m_stream.reset();
    m_udp.close();
    m_listener.close();
}

void SimModuleServer::serve() {
    std::array<uint8_t, 2048> buffer;
    while (!m_stop.stop_requested()) {
        NetAddress from;
        long n = m_udp.receive(buffer.data(), buffer.size(), kSliceMs, &from);
        if (n > 0) answerDatagram(buffer.data(), static_cast<size_t>(n), from);
        if (auto stream = m_listener.accept(0)) {
            // A new connection replaces the old one, as the module has one link.
            m_stream = std::move(stream);
            m_input.clear();
            ++m_connections;
        }
        if (!m_stream) continue;
        sayUnasked();
        n = m_stream->receive(buffer.data(), buffer.size(), kSliceMs);
        if (n < 0) m_stream.reset();
        if (n > 0) takeStream(buffer.data(), static_cast<size_t>(n));
    }
}

void SimModuleServer::sayUnasked() {
    if (m_unaskedDue.exchange(false)) answer(m_device.takeUnasked());
}

void SimModuleServer::answerDatagram(const uint8_t* data, size_t size, NetAddress from) {
    ++m_datagrams;
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    std::string reply;
    if (text.rfind(kGetIp, 0) == 0) {
        reply = kGetIp + hex(m_address) + "\r\n";
    } else if (text.rfind(kGetLinkIp, 0) == 0) {
        reply = kGetLinkIp + hex(m_stream ? m_stream->peer().ip : 0) + "\r\n";
    } else {
        std::vector<uint8_t> payload(text.begin(), text.end());
        payload.push_back(0);
        std::vector<uint8_t> frame = Frame::build(Command::ModuleText, payload);
        for (const SimDevice::Reply& r : m_device.receiveAside(frame.data(), frame.size()))
            if (r.bytes.size() > 5 && r.bytes[2] == static_cast<uint8_t>(Command::ModuleText))
                reply.append(r.bytes.begin() + 3, r.bytes.end() - 2);
    }
    if (!reply.empty())
        m_udp.sendTo(from, reinterpret_cast<const uint8_t*>(reply.data()), reply.size());
}

void SimModuleServer::takeStream(const uint8_t* data, size_t size) {
    m_input.insert(m_input.end(), data, data + size);
    if (m_input.size() > kInputLimit) m_input.clear();
    size_t at = 0;
    while (at < m_input.size()) {
        if (m_input[at] != 0xAE) {
            ++at;
            continue;
        }
        auto opened = NetEnvelope::open(m_input.data() + at, m_input.size() - at);
        if (!opened) {
            // Wait for the rest unless the header itself is wrong.
            if (m_input.size() - at < NetEnvelope::kHeaderSize || m_input[at + 1] == 0x1E) break;
            ++at;
            continue;
        }
        m_lastId = opened->id;
        const uint8_t* frame = m_input.data() + at + opened->frameStart;
        answer(m_device.receive(frame, opened->frameSize));
        at += opened->size;
    }
    m_input.erase(m_input.begin(), m_input.begin() + static_cast<long>(at));
}

std::vector<uint8_t> SimModuleServer::packetOf(const std::vector<uint8_t>& frame) const {
    if (m_plain) return frame;
    uint32_t id = m_device.deviceId();
    ModulePacket::Addressing addressing{static_cast<uint8_t>(id),
                                        static_cast<uint8_t>(id >> 8),
                                        static_cast<uint8_t>(id >> 16),
                                        static_cast<uint8_t>(id >> 24),
                                        0,
                                        0};
    return ModulePacket::build(addressing, frame.data(), frame.size());
}

void SimModuleServer::answer(const std::vector<SimDevice::Reply>& replies) {
    SimFaults faults = m_device.faults();
    for (const SimDevice::Reply& reply : replies) {
        if (m_stop.stop_requested() || !m_stream) return;
        if (reply.delayMs) m_clock.sleep(reply.delayMs);
        std::vector<uint8_t> bytes = packetOf(reply.bytes);
        size_t piece = faults.chunkSize > 0 ? faults.chunkSize : bytes.size();
        for (size_t at = 0; at < bytes.size(); at += piece) {
            if (at > 0 && faults.chunkDelayMs) m_clock.sleep(faults.chunkDelayMs);
            if (!m_stream->send(bytes.data() + at, std::min(piece, bytes.size() - at), 1000)) {
                m_stream.reset();
                return;
            }
        }
    }
}
