#pragma once

#include <cstdint>

namespace tolvex {

// Milliseconds of a monotonic clock, wrapping at 2^32; differences are taken unsigned.
uint32_t TickCount();

} // namespace tolvex
