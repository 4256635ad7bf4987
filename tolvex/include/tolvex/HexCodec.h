#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tolvex {

// Two upper-case hexadecimal characters, high nibble first.
void AppendHexByte(std::vector<uint8_t>& out, uint8_t value);

// Only "0"-"9" and "A"-"F" are digits; anything else (lower case included) gives no value.
std::optional<uint8_t> DecodeHexPair(uint8_t high, uint8_t low);

// Decodes out.size() bytes from 2 x out.size() characters; false at the first non-digit.
bool DecodeHex(std::span<const uint8_t> chars, std::span<uint8_t> out);

} // namespace tolvex
