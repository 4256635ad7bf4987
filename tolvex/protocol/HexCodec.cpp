#include "tolvex/HexCodec.h"

namespace tolvex {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

std::optional<uint8_t> DigitValue(uint8_t c) {
    if (c >= '0' && c <= '9') {
        return static_cast<uint8_t>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<uint8_t>(c - 'A' + 10);
    }
    return std::nullopt;
}

} // namespace

void AppendHexByte(std::vector<uint8_t>& out, uint8_t value) {
    out.push_back(static_cast<uint8_t>(kDigits[value >> 4]));
    out.push_back(static_cast<uint8_t>(kDigits[value & 0x0F]));
}

std::optional<uint8_t> DecodeHexPair(uint8_t high, uint8_t low) {
    const auto h = DigitValue(high);
    const auto l = DigitValue(low);
    if (!h || !l) {
        return std::nullopt;
    }
    return static_cast<uint8_t>((*h << 4) | *l);
}

bool DecodeHex(std::span<const uint8_t> chars, std::span<uint8_t> out) {
    if (chars.size() < 2 * out.size()) {
        return false;
    }
    for (size_t i = 0; i < out.size(); ++i) {
        const auto value = DecodeHexPair(chars[2 * i], chars[2 * i + 1]);
        if (!value) {
            return false;
        }
        out[i] = *value;
    }
    return true;
}

} // namespace tolvex
