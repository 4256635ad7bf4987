#include "kestrix/table/NumberText.h"

#include "kestrix/table/TextWidth.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <utility>
#include <vector>

namespace kestrix::table {
namespace {

TEST(NumberText, FixedDecimalsWithPaddingAndSeparator) {
    EXPECT_EQ(FormatNumber(12.0, 0), "12");
    EXPECT_EQ(FormatNumber(12.0, 2), "12.00");
    EXPECT_EQ(FormatNumber(0.5, 3), "0.500");
    EXPECT_EQ(FormatNumber(-3.25, 2, ','), "-3,25");
    EXPECT_EQ(FormatNumber(1234567.0, 1), "1234567.0");
    EXPECT_EQ(FormatNumber(0.0, 2), "0.00");
}

TEST(NumberText, RoundsHalfAwayFromZeroOnTheShownDigits) {
    EXPECT_EQ(FormatNumber(2.5, 0), "3");
    EXPECT_EQ(FormatNumber(-2.5, 0), "-3");
    EXPECT_EQ(FormatNumber(0.125, 2), "0.13");
    EXPECT_EQ(FormatNumber(1.005, 2), "1.01");
    EXPECT_EQ(FormatNumber(9.96, 1), "10.0");
    EXPECT_EQ(FormatNumber(999.9996, 3), "1000.000");
    EXPECT_EQ(FormatNumber(0.05, 1), "0.1");
    EXPECT_EQ(FormatNumber(0.04, 1), "0.0");
    EXPECT_EQ(FormatNumber(0.0004, 1), "0.0");
}

TEST(NumberText, NoMinusOnAZeroAndNoCrashOnExtremes) {
    EXPECT_EQ(FormatNumber(-0.004, 2), "0.00");
    EXPECT_EQ(FormatNumber(-0.0, 0), "0");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), 2), "#NUM!");
    EXPECT_EQ(FormatNumber(std::nan(""), 2), "#NUM!");
    const std::string huge = FormatNumber(-std::numeric_limits<double>::max(), 15);
    EXPECT_EQ(huge.size(), 1u + 309u + 1u + 15u);
    EXPECT_EQ(FormatNumber(1.5, 99), FormatNumber(1.5, 15));
    EXPECT_EQ(FormatNumber(1.5, -3), "2");
}

TEST(NumberText, WidthMatchesTheFormattedText) {
    for (double value : {0.0, -0.004, 9.96, -9.96, 123.456, 1e15, 99999.95, -1e-9, 1e300}) {
        for (int decimals : {0, 1, 2, 5}) {
            EXPECT_EQ(FormattedNumberWidth(value, decimals),
                      static_cast<int>(FormatNumber(value, decimals).size()))
                << value << " " << decimals;
        }
    }
}

TEST(NumberText, WidthMatchesTheFormattedTextNearTiesAndPowersOfTen) {
    for (int decimals = 0; decimals <= 4; ++decimals) {
        for (double power = 1.0; power < 1e16; power *= 10.0) {
            const double step = std::pow(10.0, -decimals);
            for (double value : {power - step / 2, power - step / 2 - 1e-12, power + step / 2,
                                 0.4999999999999999 * step, -power + step / 2, -0.5 * step}) {
                EXPECT_EQ(FormattedNumberWidth(value, decimals),
                          static_cast<int>(FormatNumber(value, decimals).size()))
                    << value << " " << decimals;
            }
        }
    }
}

TEST(NumberText, WidestOfManyIsTheWidestOfEach) {
    const double nan = std::nan("");
    const double infinity = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<std::vector<double>, int>> cases = {
        {{}, 2},
        {{1.0, -0.001, 999.95}, 1},
        {{3.0, -7.25, 0.5}, 2},
        {{-0.004, 0.001, -0.0}, 2},
        {{-1e-9, 12345.6, -99.9996}, 3},
        {{nan, 1.0}, 0},
        {{-infinity}, 4},
        {{-123.0, 9999.4}, 0},
    };
    for (const auto& [values, decimals] : cases) {
        WidestNumberText widest;
        int expected = 0;
        for (const double value : values) {
            widest.Add(value);
            expected = std::max(expected, FormattedNumberWidth(value, decimals));
        }
        EXPECT_EQ(widest.Width(decimals), expected) << values.size() << " values, " << decimals;
    }
}

TEST(TextWidthInCharacters, CountsCodePointsOfTheLongestLine) {
    EXPECT_EQ(TextWidth(""), 0);
    EXPECT_EQ(TextWidth("(ug/m^3)"), 8);
    EXPECT_EQ(TextWidth("0.5 \xC2\xB5m"), 6); // a two-byte micro sign counts once
    EXPECT_EQ(TextWidth("- Bad laser voltage.\r\n- Bad flow rate."), 20);
}

} // namespace
} // namespace kestrix::table
