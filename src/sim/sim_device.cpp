#include "sim/sim_device.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "files/crc16.h"
#include "link/frame.h"
#include "sim/sim_memory.h"

namespace {

constexpr size_t kLogLimit = 100000;
constexpr int kBulkGroups = 25;
constexpr uint32_t kBulkSpacingMs = 2;
constexpr int kPresence = 1630;
constexpr int kCurrentMode = 1628;
constexpr uint8_t kNotice = 0x55;
// The parser skips 11 bytes after a notice's start byte, so a notice is never shorter.
const std::vector<uint8_t> kNoticePayload = {'N', 'O', 'T', 'I', 'C', 'E', 0, 0};
// The device's own state (passwords, decoder readings, the mode words)
// stays when a mode is recalled.
constexpr int kDeviceState[] = {1606, 1607, 1608, 1610, 1625, 1626, 1629,
                                1630, 1636, 1637, 1638, 1639, 1640, 1641};

std::vector<uint8_t> frameOf(uint8_t command, const std::vector<uint8_t>& payload) {
    return Frame::build(command, payload.data(), payload.size());
}

bool validMode(int mode) {
    return mode >= 1 && mode <= SimDevice::kModes;
}

// The other start byte that a device may use; the CRC covers it.
void restart81(std::vector<uint8_t>& frame) {
    if (frame.size() < 5) return;
    frame[0] = 0x81;
    size_t covered = frame.size() - 2;
    uint16_t crc = crc16Modbus(frame.data(), covered);
    frame[covered] = static_cast<uint8_t>(crc >> 8);
    frame[covered + 1] = static_cast<uint8_t>(crc);
}

// Full size of the request frame whose start byte is at data[0], or 0 when unknown yet.
size_t requestSize(const uint8_t* data, size_t available) {
    if (available < 3) return 0;
    if (data[1] == 255 && data[2] == static_cast<uint8_t>(Command::UpgradeBlock))
        return 3 + 259 + 2;
    return static_cast<size_t>(data[1]) + 2;
}

}  // namespace

SimDevice::~SimDevice() {
    releaseWrites();
}

SimDevice::SimDevice(uint64_t seed) : m_random(seed) {
    m_memory = SimMemory::defaults();
    for (int p = 0; p < kModes; ++p) {
        m_modes[p] = SimMemory::mode(p + 1);
        m_names[p] = SimMemory::modeName(p + 1);
    }
}

std::vector<SimDevice::Reply> SimDevice::receive(const uint8_t* data, size_t size) {
    std::lock_guard lock(m_mutex);
    m_input.insert(m_input.end(), data, data + size);
    std::vector<Reply> replies;
    if (!m_faults.silent && !m_faults.absent) replies = std::exchange(m_unasked, {});
    // From the first start byte whose frame may still complete; a stray start
    // byte must not hold back the whole frames after it.
    size_t keep = std::string::npos;
    size_t i = 0;
    while (i < m_input.size()) {
        if (m_input[i] != Frame::kStart) {
            ++i;
            continue;
        }
        size_t n = requestSize(&m_input[i], m_input.size() - i);
        if (n == 0 || i + n > m_input.size()) {
            keep = std::min(keep, i);
            ++i;
            continue;
        }
        size_t covered = n - 2;
        uint16_t crc = crc16Modbus(&m_input[i], covered);
        if (n < 5 || crc != Frame::getU16(&m_input[i + covered])) {
            ++i;
            continue;
        }
        auto more = handleFrame(&m_input[i], n);
        replies.insert(replies.end(), more.begin(), more.end());
        i += n;
        keep = std::string::npos;
    }
    m_input.erase(m_input.begin(),
                  m_input.begin() + static_cast<long>(std::min(keep, m_input.size())));
    // A partial frame that never completes must not grow without bound.
    if (m_input.size() > 4096) m_input.clear();
    return withFaults(std::move(replies));
}

std::vector<SimDevice::Reply> SimDevice::handleFrame(const uint8_t* frame, size_t size) {
    uint8_t command = frame[2];
    ++m_requests[command];
    if (m_log.size() >= kLogLimit) m_log.erase(m_log.begin(), m_log.begin() + kLogLimit / 2);
    m_log.emplace_back(frame, frame + size);
    if (m_faults.silent || m_faults.absent || m_faults.ignoredCommand == command) return {};
    if (command == static_cast<uint8_t>(Command::BulkRead)) return bulkStream();
    std::vector<uint8_t> reply = answer(command, frame + 3, size - 5);
    if (reply.empty()) return {};
    return {Reply{std::move(reply), 0}};
}

std::vector<uint8_t> SimDevice::answer(uint8_t command, const uint8_t* payload, size_t size) {
    switch (static_cast<Command>(command)) {
        case Command::Hello: {
            std::vector<uint8_t> p;
            Frame::putU16(p, m_faults.magic);
            Frame::putU16(p, kVersion);
            return frameOf(command, p);
        }
        case Command::ReadParameters:
            return readParameters(payload, size);
        case Command::WriteParameters:
            return writeParameters(payload, size);
        case Command::RecallMode:
            // A mode the device does not have is not confirmed.
            if (size < 1 || !validMode(payload[0])) return {};
            recall(payload[0]);
            return frameOf(command, {payload[0]});
        case Command::ReadModeName: {
            if (size < 1 || !validMode(payload[0])) return {};
            std::vector<uint8_t> p{payload[0]};
            std::string name = m_names[payload[0] - 1];
            name.resize(kNameSize, ' ');
            p.insert(p.end(), name.begin(), name.end());
            return frameOf(command, p);
        }
        case Command::SaveModeName: {
            if (size < 1 || !validMode(payload[0])) return {};
            std::string name(reinterpret_cast<const char*>(payload + 1),
                             std::min<size_t>(size - 1, 20));
            while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
            m_names[payload[0] - 1] = name;
            return frameOf(command, {payload[0]});
        }
        case Command::ReadDeviceId: {
            std::vector<uint8_t> p{4};
            Frame::putU16(p, static_cast<uint16_t>(m_deviceId >> 16));
            Frame::putU16(p, static_cast<uint16_t>(m_deviceId));
            return frameOf(command, p);
        }
        case Command::Command20:
        case Command::Command21:
            return frameOf(command, {1});
        case Command::ModuleText:
            return moduleText(payload, size);
        // The bind number comes back as the module's proof that the relay reached it.
        case Command::RelayBind:
            if (size < 4) return {};
            return frameOf(command, std::vector<uint8_t>(payload, payload + 4));
        case Command::UpgradeStart:
            return frameOf(command, {m_loader.start(size >= 1 ? payload[0] : 0)});
        case Command::UpgradeBlock:
            return loaderBlock(payload, size);
        case Command::UpgradeFinish:
            return frameOf(command, {m_loader.finish()});
        default:
            return {};
    }
}

std::vector<uint8_t> SimDevice::readParameters(const uint8_t* payload, size_t size) {
    std::vector<uint8_t> p;
    for (size_t k = 0; k + 2 <= size; k += 2) {
        uint16_t index = Frame::getU16(payload + k);
        if (index >= kParameters) continue;
        uint16_t v = index == kPresence ? presenceRead() : m_memory[index];
        if (index == 0) v = m_faults.magic;
        Frame::putU16(p, index);
        Frame::putU16(p, v);
    }
    return frameOf(static_cast<uint8_t>(Command::ReadParameters), p);
}

uint16_t SimDevice::presenceRead() {
    uint64_t n = m_presenceReads++;
    if (m_faults.foreignPresence != 0 && static_cast<int>(n % 10) < m_faults.foreignPer10)
        return m_faults.foreignPresence;
    return m_memory[kPresence];
}

std::vector<uint8_t> SimDevice::writeParameters(const uint8_t* payload, size_t size) {
    std::vector<uint8_t> p;
    for (size_t k = 0; k + 4 <= size; k += 4) {
        uint16_t index = Frame::getU16(payload + k);
        uint16_t v = Frame::getU16(payload + k + 2);
        if (index > 0 && index < kParameters) m_memory[index] = v;
        Frame::putU16(p, index);
        Frame::putU16(p, index < kParameters ? (index == 0 ? m_faults.magic : m_memory[index]) : v);
    }
    return frameOf(static_cast<uint8_t>(Command::WriteParameters), p);
}

std::vector<uint8_t> SimDevice::moduleText(const uint8_t* payload, size_t size) {
    std::string text(reinterpret_cast<const char*>(payload), size);
    text = text.substr(0, text.find('\0'));
    if (m_moduleListener) m_moduleListener(text);
    std::string reply = m_module.answer(text);
    if (reply.empty()) return {};
    return frameOf(static_cast<uint8_t>(Command::ModuleText),
                   std::vector<uint8_t>(reply.begin(), reply.end()));
}

std::string SimDevice::moduleSetting(const std::string& key) const {
    std::lock_guard lock(m_mutex);
    return m_module.setting(key);
}

void SimDevice::setModuleListener(std::function<void(const std::string&)> listener) {
    std::lock_guard lock(m_mutex);
    m_moduleListener = std::move(listener);
}

std::vector<std::string> SimDevice::moduleLog() const {
    std::lock_guard lock(m_mutex);
    return m_module.log();
}

void SimDevice::recall(int mode) {
    Memory recalled = m_modes[mode - 1];
    for (int index : kDeviceState) recalled[index] = m_memory[index];
    m_memory = recalled;
    m_memory[0] = m_faults.magic;
    m_memory[kCurrentMode] = static_cast<uint16_t>(mode);
}

std::vector<SimDevice::Reply> SimDevice::bulkStream() {
    std::vector<Reply> replies;
    for (int start = 0; start < kParameters; start += kBulkGroups) {
        std::vector<uint8_t> p;
        for (int i = start; i < std::min(start + kBulkGroups, kParameters); ++i) {
            Frame::putU16(p, static_cast<uint16_t>(i));
            Frame::putU16(p, i == 0 ? m_faults.magic : m_memory[i]);
        }
        replies.push_back(
            Reply{frameOf(static_cast<uint8_t>(Command::ReadParameters), p), kBulkSpacingMs});
    }
    return replies;
}

std::vector<SimDevice::Reply> SimDevice::withFaults(std::vector<Reply> replies) {
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    std::uniform_int_distribution<int> noise(1, 255);
    std::vector<Reply> out;
    for (Reply& r : replies) {
        if (m_faults.dropReplies > 0 && chance(m_random) < m_faults.dropReplies) continue;
        if (m_faults.corruptBytes > 0)
            for (uint8_t& b : r.bytes)
                if (chance(m_random) < m_faults.corruptBytes)
                    b = static_cast<uint8_t>(b ^ noise(m_random));
        if (m_faults.startByte81) restart81(r.bytes);
        out.push_back(std::move(r));
    }
    if (!out.empty()) out.front().delayMs += m_faults.replyDelayMs;
    return out;
}

std::vector<uint8_t> SimDevice::loaderBlock(const uint8_t* payload, size_t size) {
    if (size < 3) return {};
    uint32_t number = static_cast<uint32_t>(payload[0]) << 16 | payload[1] << 8 | payload[2];
    std::optional<uint32_t> answer = m_loader.block(number, payload + 3, size - 3);
    if (!answer) return {};
    return frameOf(static_cast<uint8_t>(Command::UpgradeBlock),
                   {static_cast<uint8_t>(*answer >> 16), static_cast<uint8_t>(*answer >> 8),
                    static_cast<uint8_t>(*answer)});
}

SimLoader::Report SimDevice::loaderReport() const {
    std::lock_guard lock(m_mutex);
    return m_loader.report();
}

void SimDevice::setLoaderFaults(const SimLoader::Faults& faults) {
    std::lock_guard lock(m_mutex);
    m_loader.setFaults(faults);
}

uint16_t SimDevice::value(int index) const {
    std::lock_guard lock(m_mutex);
    return index >= 0 && index < kParameters ? m_memory[index] : 0;
}

void SimDevice::setValue(int index, uint16_t value) {
    std::lock_guard lock(m_mutex);
    if (index > 0 && index < kParameters) m_memory[index] = value;
}

void SimDevice::changeAndReport(int index, uint16_t value) {
    std::lock_guard lock(m_mutex);
    if (index <= 0 || index >= kParameters) return;
    m_memory[index] = value;
    std::vector<uint8_t> p;
    Frame::putU16(p, static_cast<uint16_t>(index));
    Frame::putU16(p, value);
    m_unasked.push_back({frameOf(static_cast<uint8_t>(Command::ReadParameters), p), 0});
}

void SimDevice::sendNotice() {
    std::lock_guard lock(m_mutex);
    m_unasked.push_back({frameOf(kNotice, kNoticePayload), 0});
}

void SimDevice::releaseWrites() {
    std::lock_guard lock(m_hold->mutex);
    ++m_hold->releases;
    m_hold->released.notify_all();
}

SimDevice::Memory SimDevice::memory() const {
    std::lock_guard lock(m_mutex);
    Memory m = m_memory;
    m[0] = m_faults.magic;
    return m;
}

std::string SimDevice::modeName(int mode) const {
    std::lock_guard lock(m_mutex);
    return mode >= 1 && mode <= kModes ? m_names[mode - 1] : std::string();
}

void SimDevice::setModeName(int mode, const std::string& name) {
    std::lock_guard lock(m_mutex);
    if (mode >= 1 && mode <= kModes) m_names[mode - 1] = name;
}

SimDevice::Memory SimDevice::modeMemory(int mode) const {
    std::lock_guard lock(m_mutex);
    return mode >= 1 && mode <= kModes ? m_modes[mode - 1] : Memory{};
}

SimFaults SimDevice::faults() const {
    std::lock_guard lock(m_mutex);
    return m_faults;
}

void SimDevice::setFaults(const SimFaults& faults) {
    std::lock_guard lock(m_mutex);
    if (faults.absent && !m_faults.absent) ++m_generation;
    m_faults = faults;
    if (faults.absent || !faults.stuckWrites) releaseWrites();
}

uint32_t SimDevice::deviceId() const {
    std::lock_guard lock(m_mutex);
    return m_deviceId;
}

void SimDevice::setDeviceId(uint32_t id) {
    std::lock_guard lock(m_mutex);
    m_deviceId = id;
}

std::string SimDevice::usbSerial() const {
    std::lock_guard lock(m_mutex);
    return m_usbSerial;
}

void SimDevice::setUsbSerial(const std::string& serial) {
    std::lock_guard lock(m_mutex);
    m_usbSerial = serial;
}

uint64_t SimDevice::generation() const {
    std::lock_guard lock(m_mutex);
    return m_generation;
}

void SimDevice::setAbsent(bool absent) {
    std::lock_guard lock(m_mutex);
    if (absent && !m_faults.absent) ++m_generation;
    m_faults.absent = absent;
    if (absent) releaseWrites();
}

uint64_t SimDevice::requests(uint8_t command) const {
    std::lock_guard lock(m_mutex);
    return m_requests[command];
}

std::vector<std::vector<uint8_t>> SimDevice::requestLog() const {
    std::lock_guard lock(m_mutex);
    return m_log;
}

void SimDevice::clearRequestLog() {
    std::lock_guard lock(m_mutex);
    m_log.clear();
}
