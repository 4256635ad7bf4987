#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvex {

// How an accessor views a handle's 2000-byte area: element size, element count and word order.
struct ElementView {
    size_t bytes;
    uint16_t count;
    bool swapWords;
};

inline constexpr ElementView kRegisterView{2, 125, false};
inline constexpr ElementView kCoilView{1, 1968, false};
inline constexpr ElementView kLongView{4, 62, false};
inline constexpr ElementView kLongSwapView{4, 62, true};
inline constexpr ElementView kDoubleView{8, 31, false};
inline constexpr ElementView kDoubleSwapView{8, 31, true};

// The value of an element of registers (16-bit, host order): without swap the lowest register
// holds the least significant word; with swap the most significant. A coil element is its byte.
uint64_t DecodeElement(std::span<const uint8_t> element, bool swapWords);
void EncodeElement(uint64_t value, std::span<uint8_t> element, bool swapWords);

} // namespace tolvex
