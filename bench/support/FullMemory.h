#pragma once

#include <cstdint>

namespace kestrix::bench {

// The most records an instrument holds: the largest download, table and file the program meets.
inline constexpr std::int32_t kFullMemoryRecords = 65535;

} // namespace kestrix::bench
