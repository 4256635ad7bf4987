// The density's way into its register: the refusals, the rounding and the text.

#include "kestrix/instrument/DensityValue.h"

#include <gtest/gtest.h>
#include <limits>

namespace kestrix {
namespace {

TEST(DensityValue, OnlyWhatTheRegisterHoldsIsAccepted) {
    const struct {
        double density;
        instrument::DensityProblem problem;
    } cases[] = {
        {0.0, instrument::DensityProblem::Zero},
        {0.0005, instrument::DensityProblem::Zero},
        {0.00089, instrument::DensityProblem::Zero},
        {0.0009, instrument::DensityProblem::None},
        {65.535, instrument::DensityProblem::None},
        {65.5354, instrument::DensityProblem::None},
        {65.5356, instrument::DensityProblem::OutOfRange},
        {100.0, instrument::DensityProblem::OutOfRange},
        {-1.0, instrument::DensityProblem::OutOfRange},
        {std::numeric_limits<double>::quiet_NaN(), instrument::DensityProblem::OutOfRange},
        {std::numeric_limits<double>::infinity(), instrument::DensityProblem::OutOfRange},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(instrument::CheckDensity(c.density), c.problem) << c.density;
    }
    EXPECT_NE(instrument::DensityProblemText(instrument::DensityProblem::OutOfRange)
                  .find("0.001 and 65.535"),
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
        EXPECT_EQ(instrument::DensityRegisterValue(c.density), c.thousandths) << c.density;
    }
}

TEST(DensityValue, TextHasThreeDecimalsAndTheSeparatorGiven) {
    EXPECT_EQ(instrument::FormatDensity(2500), "2.500");
    EXPECT_EQ(instrument::FormatDensity(1, ","), "0,001");
    EXPECT_EQ(instrument::FormatDensity(65535), "65.535");
}

} // namespace
} // namespace kestrix
