#include <gtest/gtest.h>

#include <string>

#include "files/crc16.h"
#include "link/frame.h"

namespace {

std::vector<uint8_t> bytes(std::initializer_list<int> list) {
    std::vector<uint8_t> v;
    for (int b : list) v.push_back(static_cast<uint8_t>(b));
    return v;
}

}  // namespace

TEST(Crc16, CheckValueOfTheStandardText) {
    std::string text = "123456789";
    EXPECT_EQ(crc16Modbus(reinterpret_cast<const uint8_t*>(text.data()), text.size()), 0x4B37);
}

TEST(Frame, GoldenVectorsOfCommonRequests) {
    EXPECT_EQ(Frame::build(Command::Hello, {0}), bytes({0x80, 0x04, 0x00, 0x00, 0x25, 0x68}));
    EXPECT_EQ(Frame::build(Command::ReadParameters, {0, 0}),
              bytes({0x80, 0x05, 0x06, 0x00, 0x00, 0x13, 0xC5}));
    EXPECT_EQ(Frame::build(Command::WriteParameters, {0x06, 0x5E, 0x00, 0x01}),
              bytes({0x80, 0x07, 0x03, 0x06, 0x5E, 0x00, 0x01, 0xE5, 0x7F}));
}

TEST(Frame, LongPayloadCarriesLength255AndCrcOverEverything) {
    std::vector<uint8_t> payload(259);
    for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 7);
    std::vector<uint8_t> frame = Frame::build(Command::UpgradeBlock, payload);
    ASSERT_EQ(frame.size(), 264u);
    EXPECT_EQ(frame[1], 255);
    uint16_t crc = crc16Modbus(frame.data(), 262);
    EXPECT_EQ(frame[262], crc >> 8);
    EXPECT_EQ(frame[263], crc & 0xFF);
}

TEST(Frame, PayloadOf249StillCarriesItsLength) {
    std::vector<uint8_t> payload(249, 0x11);
    EXPECT_EQ(Frame::build(Command::ModuleText, payload)[1], 252);
    payload.push_back(0x11);
    EXPECT_EQ(Frame::build(Command::ModuleText, payload)[1], 255);
}
