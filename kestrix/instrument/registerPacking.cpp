#include "kestrix/instrument/registerPacking.h"

namespace kestrix::registers {
namespace {

std::uint8_t ByteAt(const std::string& text, std::size_t index) {
    return static_cast<std::uint8_t>(text[index]);
}

} // namespace

std::int16_t TextToRegister(const std::string& text, std::int16_t position, bool highFirst) {
    if (position < 1 || text.size() < static_cast<std::size_t>(position)) {
        return 0;
    }
    const std::size_t first = static_cast<std::size_t>(position) - 1;
    if (first + 1 == text.size()) {
        return ByteAt(text, first);
    }
    const std::uint8_t a = ByteAt(text, first);
    const std::uint8_t b = ByteAt(text, first + 1);
    return highFirst ? MakeWord(a, b) : MakeWord(b, a);
}

std::int16_t MakeWord(std::uint8_t high, std::uint8_t low) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(high << 8 | low));
}

std::int32_t MakeLong(std::int16_t high, std::int16_t low) {
    const auto bits = static_cast<std::uint32_t>(static_cast<std::uint16_t>(high)) << 16 |
                      static_cast<std::uint16_t>(low);
    return static_cast<std::int32_t>(bits);
}

std::int16_t ShiftRight16(std::int16_t value, std::int16_t count) {
    if (count <= 0) {
        return value;
    }
    if (count > 15) {
        return 0;
    }
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value) >> count);
}

std::uint8_t AddBytes(std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>(a + b);
}

} // namespace kestrix::registers
