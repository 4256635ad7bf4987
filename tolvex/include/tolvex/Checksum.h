#pragma once

#include <cstdint>
#include <span>

namespace tolvex {

// CRC-16 of Modbus RTU (reflected 0xA001, start 0xFFFF). Over a frame that ends in its own CRC,
// low byte first, the result is 0.
uint16_t Crc16(std::span<const uint8_t> bytes);

// LRC of Modbus ASCII: the two's complement of the 8-bit sum.
uint8_t Lrc(std::span<const uint8_t> bytes);

} // namespace tolvex
