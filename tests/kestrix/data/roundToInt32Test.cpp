#include "kestrix/data/roundToInt32.h"

#include <gtest/gtest.h>
#include <limits>

namespace kestrix {
namespace {

constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
constexpr auto kMin = std::numeric_limits<std::int32_t>::min();

TEST(RoundToInt32, RoundsHalvesToEven) {
    EXPECT_EQ(data::RoundToInt32(0.5), 0);
    EXPECT_EQ(data::RoundToInt32(1.5), 2);
    EXPECT_EQ(data::RoundToInt32(2.5), 2);
    EXPECT_EQ(data::RoundToInt32(-0.5), 0);
    EXPECT_EQ(data::RoundToInt32(-1.5), -2);
    EXPECT_EQ(data::RoundToInt32(-2.5), -2);
    EXPECT_EQ(data::RoundToInt32(2147483646.5), 2147483646);
}

TEST(RoundToInt32, RoundsOtherValuesToNearest) {
    EXPECT_EQ(data::RoundToInt32(2.4999999), 2);
    EXPECT_EQ(data::RoundToInt32(2.5000001), 3);
    EXPECT_EQ(data::RoundToInt32(-7.6), -8);
    EXPECT_EQ(data::RoundToInt32(42.0), 42);
}

TEST(RoundToInt32, SaturatesOutsideTheRange) {
    EXPECT_EQ(data::RoundToInt32(2147483647.4), kMax);
    EXPECT_EQ(data::RoundToInt32(2147483647.5), kMax);
    EXPECT_EQ(data::RoundToInt32(1e12), kMax);
    EXPECT_EQ(data::RoundToInt32(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(data::RoundToInt32(-2147483648.5), kMin);
    EXPECT_EQ(data::RoundToInt32(-1e300), kMin);
    EXPECT_EQ(data::RoundToInt32(-std::numeric_limits<double>::infinity()), kMin);
}

TEST(RoundToInt32, NotANumberGivesZero) {
    EXPECT_EQ(data::RoundToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
}

} // namespace
} // namespace kestrix
