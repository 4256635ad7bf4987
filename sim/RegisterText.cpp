#include "RegisterText.h"

#include <algorithm>

namespace kestrix::sim {

void TextToRegisters(const std::string& text, std::span<uint16_t> registers, ByteOrder order) {
    std::fill(registers.begin(), registers.end(), uint16_t{0});
    for (size_t i = 0; i < text.size() && i / 2 < registers.size(); ++i) {
        const bool high = (i % 2 == 0) == (order == ByteOrder::HighFirst);
        const auto byte = static_cast<uint8_t>(text[i]);
        registers[i / 2] |= high ? static_cast<uint16_t>(byte << 8) : byte;
    }
}

std::string RegistersToText(std::span<const uint16_t> registers, ByteOrder order) {
    std::string text;
    for (uint16_t value : registers) {
        const auto high = static_cast<char>(value >> 8);
        const auto low = static_cast<char>(value & 0xFF);
        for (char c :
             order == ByteOrder::HighFirst ? std::string{high, low} : std::string{low, high}) {
            if (c == '\0') {
                return text;
            }
            text += c;
        }
    }
    return text;
}

} // namespace kestrix::sim
