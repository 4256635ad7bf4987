#pragma once

// Rounds a double to the nearest 32-bit integer, halves to even; values
// beyond the 32-bit range saturate and a value that is not a number gives 0.

#include <cstdint>

namespace kestrix::data {

std::int32_t RoundToInt32(double value);

} // namespace kestrix::data
