#include "kestrix/data/modDataType.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace kestrix::modDataType {
namespace {

TEST(ParticleSizeValue, ReadsSizeTexts) {
    EXPECT_DOUBLE_EQ(ParticleSizeValue("0.3"), 0.3);
    EXPECT_DOUBLE_EQ(ParticleSizeValue("10"), 10.0);
    EXPECT_DOUBLE_EQ(ParticleSizeValue(" 2.5 "), 2.5);
    EXPECT_DOUBLE_EQ(ParticleSizeValue("1 0.0"), 10.0);
}

TEST(ParticleSizeValue, StopsAtASecondPoint) {
    EXPECT_DOUBLE_EQ(ParticleSizeValue("1.2.3"), 1.2);
}

TEST(ParticleSizeValue, TextWithoutANumberIsZero) {
    EXPECT_EQ(ParticleSizeValue(""), 0.0);
    EXPECT_EQ(ParticleSizeValue("."), 0.0);
    EXPECT_EQ(ParticleSizeValue("abc"), 0.0);
}

TEST(ParticleSizeValue, NumberBeyondTheDoubleRangeIsInfinite) {
    EXPECT_TRUE(std::isinf(ParticleSizeValue("1" + std::string(400, '0'))));
}

} // namespace
} // namespace kestrix::modDataType
