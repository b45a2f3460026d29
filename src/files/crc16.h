#pragma once

#include <cstddef>
#include <cstdint>

// CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
uint16_t crc16Modbus(const uint8_t* data, size_t size);
