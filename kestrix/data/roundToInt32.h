#pragma once

// Rounds a double to the nearest 32-bit integer, halves to even; values
// beyond the 32-bit range saturate and a value that is not a number gives 0.

#include <cstdint>
#include <limits>

namespace kestrix::data {

// A value with a fraction, or out of range, or not a number.
std::int32_t RoundFractionToInt32(double value);

inline std::int32_t RoundToInt32(double value) {
    constexpr auto kMin = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr auto kMax = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    // Counts are whole numbers already: the common case needs no rounding.
    if (value > kMin && value < kMax) {
        const auto whole = static_cast<std::int32_t>(value);
        if (static_cast<double>(whole) == value) {
            return whole;
        }
    }
    return RoundFractionToInt32(value);
}

} // namespace kestrix::data
