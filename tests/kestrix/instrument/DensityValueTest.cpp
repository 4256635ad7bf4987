// The density's way into its register: the refusals, the rounding and the text.

#include "kestrix/instrument/DensityValue.h"

#include <gtest/gtest.h>
#include <limits>

namespace kestrix {
namespace {

TEST(DensityValue, OnlyWhatTheRegisterHoldsIsAccepted) {
    const struct {
        double density;
        DensityProblem problem;
    } cases[] = {
        {0.0, DensityProblem::Zero},
        {0.0005, DensityProblem::Zero},
        {0.00089, DensityProblem::Zero},
        {0.0009, DensityProblem::None},
        {65.535, DensityProblem::None},
        {65.5354, DensityProblem::None},
        {65.5356, DensityProblem::OutOfRange},
        {100.0, DensityProblem::OutOfRange},
        {-1.0, DensityProblem::OutOfRange},
        {std::numeric_limits<double>::quiet_NaN(), DensityProblem::OutOfRange},
        {std::numeric_limits<double>::infinity(), DensityProblem::OutOfRange},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckDensity(c.density), c.problem) << c.density;
    }
    EXPECT_NE(DensityProblemText(DensityProblem::OutOfRange).find("0.001 and 65.535"),
              std::string::npos);
}

TEST(DensityValue, ThousandthsRoundHalvesToEven) {
    const struct {
        double density;
        std::uint16_t thousandths;
    } cases[] = {
        {1.2, 1200},
        {0.001, 1},
        {9.999, 9999},
        {65.535, 65535},
        // Exactly halfway in binary as well: 62.5 and 187.5 thousandths.
        {0.0625, 62},
        {0.1875, 188},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DensityRegisterValue(c.density), c.thousandths) << c.density;
    }
}

TEST(DensityValue, TextHasThreeDecimalsAndTheSeparatorGiven) {
    EXPECT_EQ(FormatDensity(2500), "2.500");
    EXPECT_EQ(FormatDensity(1, ","), "0,001");
    EXPECT_EQ(FormatDensity(65535), "65.535");
}

} // namespace
} // namespace kestrix
