#include "link/frame_parser.h"

#include <cstring>

#include "files/crc16.h"
#include "link/device_info.h"
#include "link/frame.h"
#include "link/link_state.h"
#include "link/mirror.h"
#include "platform/clock.h"

FrameParser::FrameParser(const Clock& clock, LinkState& state, Mirror& mirror, DeviceInfo& device)
    : m_clock(clock), m_state(state), m_mirror(mirror), m_device(device) {}

void FrameParser::parse(const uint8_t* data, size_t size) {
    uint32_t now = m_clock.ticks();
    if (m_resetRequested.exchange(false) || ticksSince(now, m_previousCall) >= kStaleMs) m_fill = 0;
    m_previousCall = now;

    for (size_t k = 0; k < size; ++k) {
        if (m_fill >= kBufferSize) m_fill = 0;
        m_buffer[m_fill++] = data[k];
    }
    if (m_fill < 6) return;

    size_t consumed = 0;
    size_t i = 0;
    while (i + 3 < m_fill) {
        uint8_t start = m_buffer[i];
        if (start != Frame::kStart && start != Frame::kStartAlt) {
            ++i;
            continue;
        }
        size_t length = m_buffer[i + 1];
        if (length < 3 || i + length + 2 > m_fill) {
            ++i;
            continue;
        }
        uint16_t crc = crc16Modbus(&m_buffer[i], length);
        if (crc != Frame::getU16(&m_buffer[i + length])) {
            ++i;
            continue;
        }
        size_t step = handleFrame(&m_buffer[i], length);
        consumed = i + step;
        i = consumed;
    }

    if (consumed >= m_fill) {
        m_fill = 0;
    } else if (consumed > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + consumed, m_fill - consumed);
        m_fill -= consumed;
    }
}

size_t FrameParser::handleFrame(const uint8_t* frame, size_t length) {
    ++m_frames;
    m_state.missedReplies = 0;
    m_state.lastReplyTime = m_clock.ticks();
    uint8_t command = frame[2];
    if (command == static_cast<uint8_t>(Command::DeviceNotice)) return 11;
    bool known = applyReply(command, frame + 3, length - 3);
    if (known && m_state.awaitingReply.load()) m_state.replySemaphore.release();
    return length + 2;
}

bool FrameParser::applyReply(uint8_t command, const uint8_t* payload, size_t size) {
    switch (static_cast<Command>(command)) {
        case Command::Hello:
            if (size >= 4) {
                m_device.magic = Frame::getU16(payload);
                m_device.version = Frame::getU16(payload + 2);
            }
            return true;
        case Command::RecallMode:
            m_device.recallConfirmed = true;
            return true;
        case Command::WriteParameters:
            applyWriteAck(payload, size);
            return true;
        case Command::ReadModeName:
            applyModeName(payload, size);
            return true;
        case Command::ReadParameters:
            applyParameters(payload, size);
            return true;
        case Command::ReadDeviceId:
            applyDeviceId(payload, size);
            return true;
        case Command::SaveModeName:
            m_device.nameSaved = true;
            return true;
        case Command::Command20:
            m_device.command20Confirmed = true;
            return true;
        case Command::Command21:
            m_device.command21Confirmed = true;
            return true;
        case Command::RelayBind:
            applyRelayBind(payload, size);
            return true;
        case Command::ModuleText:
            if (size > 2 && m_moduleText) m_moduleText(payload, size - 2);
            return true;
        case Command::BulkRead:
            return true;
        case Command::UpgradeStart:
        case Command::UpgradeFinish:
            if (size >= 1) m_device.upgradeResponse = payload[0];
            return true;
        case Command::UpgradeBlock:
            if (size >= 3)
                m_device.upgradeResponse =
                    static_cast<uint32_t>(payload[0]) << 16 | payload[1] << 8 | payload[2];
            return true;
        default:
            return false;
    }
}

void FrameParser::applyWriteAck(const uint8_t* payload, size_t size) {
    for (size_t g = 0; g + 4 <= size; g += 4)
        m_mirror.applyWriteAck(Frame::getU16(payload + g), Frame::getU16(payload + g + 2));
}

void FrameParser::applyParameters(const uint8_t* payload, size_t size) {
    for (size_t g = 0; g + 4 <= size; g += 4)
        m_mirror.applyParameterReply(Frame::getU16(payload + g), Frame::getU16(payload + g + 2));
}

void FrameParser::applyModeName(const uint8_t* payload, size_t size) {
    if (size < 1) return;
    int mode = payload[0];
    m_device.storeModeName(mode, payload + 1, size - 1);
    m_mirror.store(Mirror::kModeOperation, static_cast<uint16_t>(mode));
    m_mirror.setReceivedMark(Mirror::kModeOperation, true);
    m_mirror.setPendingMark(Mirror::kModeOperation, false);
    m_device.nameReplied = true;
}

void FrameParser::applyDeviceId(const uint8_t* payload, size_t size) {
    if (size < 1) return;
    size_t count = payload[0];
    if (count >= 1 && count <= DeviceInfo::kIdSize && count + 1 <= size)
        m_device.setDeviceId(payload + 1, count);
    uint32_t number = m_device.deviceIdNumber();
    if (number != 0 && m_deviceIdSink) m_deviceIdSink(number);
}

void FrameParser::applyRelayBind(const uint8_t* payload, size_t size) {
    if (size < 4) return;
    uint32_t number =
        payload[0] | payload[1] << 8 | payload[2] << 16 | static_cast<uint32_t>(payload[3]) << 24;
    if (number == m_relayBindNumber) m_device.relayBound = true;
}
