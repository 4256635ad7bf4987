#include "kestrix/data/roundToInt32.h"

#include <cmath>
#include <limits>

namespace kestrix::data {

namespace {

double RoundHalfToEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5) {
        return below;
    }
    if (fraction > 0.5) {
        return below + 1.0;
    }
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

} // namespace

std::int32_t RoundFractionToInt32(double value) {
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = RoundHalfToEven(value);
    if (rounded <= static_cast<double>(kMin)) {
        return kMin;
    }
    if (rounded >= static_cast<double>(kMax)) {
        return kMax;
    }
    return static_cast<std::int32_t>(rounded);
}

} // namespace kestrix::data
