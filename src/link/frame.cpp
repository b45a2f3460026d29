#include "link/frame.h"

#include "files/crc16.h"

std::vector<uint8_t> Frame::build(Command command, const uint8_t* payload, size_t size) {
    return build(static_cast<uint8_t>(command), payload, size);
}

std::vector<uint8_t> Frame::build(uint8_t command, const uint8_t* payload, size_t size) {
    std::vector<uint8_t> frame;
    frame.reserve(size + 5);
    frame.push_back(kStart);
    frame.push_back(size <= kMaxShortPayload ? static_cast<uint8_t>(size + 3) : 255);
    frame.push_back(command);
    if (size > 0) frame.insert(frame.end(), payload, payload + size);
    putU16(frame, crc16Modbus(frame.data(), frame.size()));
    return frame;
}
