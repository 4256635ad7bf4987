#pragma once

// Bytes and texts packed into the instrument's 16-bit registers and 32-bit values.

#include <cstdint>
#include <string>

namespace kestrix::registers {

// The two characters at the 1-based position packed into one register; a
// lone last character goes into the low byte, and a position outside the
// text gives 0.
std::int16_t TextToRegister(const std::string& text, std::int16_t position, bool highFirst);

std::int16_t MakeWord(std::uint8_t high, std::uint8_t low);
std::int32_t MakeLong(std::int16_t high, std::int16_t low);

// Logical shift: zeros enter from the left.
std::int16_t ShiftRight16(std::int16_t value, std::int16_t count);

std::uint8_t AddBytes(std::uint8_t a, std::uint8_t b);

} // namespace kestrix::registers
