#include "ElementCodec.h"

#include <cstring>

namespace tolvex {
namespace {

constexpr size_t kWordBytes = 2;
constexpr int kWordBits = 16;

size_t WordCount(std::span<const uint8_t> element) {
    return element.size() / kWordBytes;
}

// Register k of the element holds the word at this significance.
size_t SignificanceOf(size_t registerIndex, size_t words, bool swapWords) {
    return swapWords ? words - 1 - registerIndex : registerIndex;
}

} // namespace

uint64_t DecodeElement(std::span<const uint8_t> element, bool swapWords) {
    if (element.size() < kWordBytes) {
        return element.empty() ? 0 : element[0];
    }
    const size_t words = WordCount(element);
    uint64_t value = 0;
    for (size_t k = 0; k < words; ++k) {
        uint16_t word;
        std::memcpy(&word, element.data() + k * kWordBytes, kWordBytes);
        value |= uint64_t{word} << (kWordBits * SignificanceOf(k, words, swapWords));
    }
    return value;
}

void EncodeElement(uint64_t value, std::span<uint8_t> element, bool swapWords) {
    if (element.size() < kWordBytes) {
        if (!element.empty()) {
            element[0] = static_cast<uint8_t>(value);
        }
        return;
    }
    const size_t words = WordCount(element);
    for (size_t k = 0; k < words; ++k) {
        const auto word =
            static_cast<uint16_t>(value >> (kWordBits * SignificanceOf(k, words, swapWords)));
        std::memcpy(element.data() + k * kWordBytes, &word, kWordBytes);
    }
}

} // namespace tolvex
