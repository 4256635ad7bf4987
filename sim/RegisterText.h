#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kestrix::sim {

// Which character of a pair a register holds in its high byte.
enum class ByteOrder { HighFirst, LowFirst };

// Packs text into registers, two characters each, zero-filled after the text (no terminator
// beyond the field). Characters past 2 x registers.size() are cut off.
void TextToRegisters(const std::string& text, std::span<uint16_t> registers,
                     ByteOrder order = ByteOrder::HighFirst);

// Reads the characters of the registers in order up to the first zero byte.
std::string RegistersToText(std::span<const uint16_t> registers,
                            ByteOrder order = ByteOrder::HighFirst);

} // namespace kestrix::sim
