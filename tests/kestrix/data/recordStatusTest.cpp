#include "kestrix/data/recordStatus.h"

#include <array>
#include <gtest/gtest.h>

namespace kestrix::recordStatus {
namespace {

TEST(StatusTests, OkOnlyWhenNoBitIsSet) {
    EXPECT_TRUE(IsStatusOk(0));
    EXPECT_FALSE(IsStatusOk(0x20));
    EXPECT_FALSE(IsStatusOk(0x80));
}

TEST(StatusTests, EachTestReadsExactlyItsOwnBit) {
    const std::map<std::uint8_t, bool (*)(std::uint8_t)> testOfBit = {
        {0x01, IsLaserVoltageBad},       {0x02, IsFlowRateBad},       {0x04, IsDataOverflowed},
        {0x08, IsInstrumentMalfunction}, {0x10, IsThresholdExceeded}, {0x40, IsPirrowMalfunction},
    };
    for (const auto& [bit, test] : testOfBit) {
        for (int shift = 0; shift < 8; ++shift) {
            const auto status = static_cast<std::uint8_t>(1 << shift);
            EXPECT_EQ(test(status), status == bit) << int(bit) << " vs " << int(status);
        }
        EXPECT_TRUE(test(0xFF)) << int(bit);
        EXPECT_FALSE(test(static_cast<std::uint8_t>(~bit))) << int(bit);
    }
}

TEST(StatusColor, MostSeriousConditionWins) {
    const base::Rgb magenta{255, 0, 255}, blue{0, 0, 255}, orange{255, 128, 32}, red{255, 0, 0},
        black{0, 0, 0};
    EXPECT_EQ(GetStatusColor(0x0A), magenta);
    EXPECT_EQ(GetStatusColor(0x01), magenta);
    EXPECT_EQ(GetStatusColor(0xFF), magenta);
    EXPECT_EQ(GetStatusColor(0x02), blue);
    EXPECT_EQ(GetStatusColor(0x56), blue);
    EXPECT_EQ(GetStatusColor(0x04), orange);
    EXPECT_EQ(GetStatusColor(0x50), orange);
    EXPECT_EQ(GetStatusColor(0x10), red);
    EXPECT_EQ(GetStatusColor(0x30), red);
    EXPECT_EQ(GetStatusColor(0xA0), black);
    EXPECT_EQ(GetStatusColor(0x00), black);
}

TEST(StatusMask, KeepsOnlyTheBitsTheTypeCanReport) {
    EXPECT_EQ(MaskStatusBits("STIM", 0xFF), 0x4A);
    EXPECT_EQ(MaskStatusBits("0.3", 0xFF), 0x5F);
    EXPECT_EQ(MaskStatusBits("TEMP", 0xFF), 0x00);
    EXPECT_EQ(MaskStatusBits("LASV", 0x03), 0x01);
    EXPECT_EQ(MaskStatusBits("0.3", 0x00), 0x00);
    EXPECT_EQ(MaskStatusBits("FLOW", 0x40), 0x40);
}

// Clears every bit that does not concern the tag, asking bit by bit.
std::uint8_t MaskStatus(const std::string& tag, std::uint8_t status) {
    std::uint8_t masked = 0;
    for (const std::uint8_t bit : std::array<std::uint8_t, 6>{0x01, 0x02, 0x08, 0x04, 0x40, 0x10}) {
        if ((status & bit) != 0 && StatusAppliesToType(tag, bit)) {
            masked |= bit;
        }
    }
    return masked;
}

TEST(StatusRelevance, MasksPerDataType) {
    EXPECT_EQ(MaskStatus("STIM", 0xFF), 0x4A);
    EXPECT_EQ(MaskStatus("SVOL", 0xFF), 0x4A);
    EXPECT_EQ(MaskStatus("0.3", 0xFF), 0x5F);
    EXPECT_EQ(MaskStatus("C0.3", 0xFF), 0x5F);
    EXPECT_EQ(MaskStatus("PM2.5", 0xFF), 0x5F);
    EXPECT_EQ(MaskStatus("TPM", 0xFF), 0x5F);
    EXPECT_EQ(MaskStatus("TEMP", 0xFF), 0x00);
    EXPECT_EQ(MaskStatus("LASV", 0x03), 0x01);
}

TEST(StatusRelevance, ParticleTagsTakeAnyNonZeroStatus) {
    EXPECT_TRUE(StatusAppliesToType("0.5", 0x80));
    EXPECT_FALSE(StatusAppliesToType("0.5", 0x00));
    EXPECT_FALSE(StatusAppliesToType("FLOW", kStatusLaserVoltageBad));
    EXPECT_TRUE(StatusAppliesToType("FLOW", kStatusPirrowMalfunction));
}

} // namespace
} // namespace kestrix::recordStatus
