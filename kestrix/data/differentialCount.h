#pragma once

// A size channel's differential count: its cumulative count less the next larger size's, held
// to the 32-bit range.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kestrix::data {

inline std::int32_t DifferentialCount(std::int32_t cumulative, std::int32_t nextLarger) {
    const std::int64_t difference = static_cast<std::int64_t>(cumulative) - nextLarger;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(difference, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

} // namespace kestrix::data
