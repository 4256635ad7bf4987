#include "kestrix/shell/numberFormat.h"

#include "kestrix/shell/userLocale.h"

#include <gtest/gtest.h>
#include <limits>

namespace kestrix {
namespace {

std::string Format(double value, std::string_view pattern, const NumberSymbols& symbols = {}) {
    const auto parsed = ParseNumberPattern(pattern);
    EXPECT_TRUE(parsed.has_value()) << pattern;
    return parsed ? FormatNumber(value, *parsed, symbols) : std::string();
}

TEST(NumberPatternParsing, CountsForcedAndOptionalDigits) {
    const auto sizes = ParseNumberPattern("####0.0####");
    ASSERT_TRUE(sizes);
    EXPECT_EQ(sizes->minIntegerDigits, 1);
    EXPECT_EQ(sizes->minFractionDigits, 1);
    EXPECT_EQ(sizes->maxFractionDigits, 5);
    EXPECT_FALSE(sizes->grouping);

    const auto grouped = ParseNumberPattern("#,##0");
    ASSERT_TRUE(grouped);
    EXPECT_TRUE(grouped->grouping);
    EXPECT_EQ(grouped->minIntegerDigits, 1);
    EXPECT_EQ(grouped->maxFractionDigits, 0);

    const auto padded = ParseNumberPattern("000");
    ASSERT_TRUE(padded);
    EXPECT_EQ(padded->minIntegerDigits, 3);
}

TEST(NumberPatternParsing, RejectsMalformedPatterns) {
    for (const char* pattern : {"", ".", ",", "0.0.0", "0.0,0", "0%", "abc", "0 "}) {
        EXPECT_FALSE(ParseNumberPattern(pattern)) << '"' << pattern << '"';
    }
}

TEST(NumberFormatRounding, HalvesRoundAwayFromZero) {
    EXPECT_EQ(Format(0.5, "0"), "1");
    EXPECT_EQ(Format(2.5, "0"), "3");
    EXPECT_EQ(Format(-2.5, "0"), "-3");
    EXPECT_EQ(Format(0.125, "0.00"), "0.13");
    EXPECT_EQ(Format(-0.125, "0.00"), "-0.13");
    EXPECT_EQ(Format(0.25, "0.0"), "0.3");
}

TEST(NumberFormatRounding, RoundsTheShownDecimalDigitsNotTheBinaryValue) {
    // Neither value is exact in binary; both lie just below the half.
    EXPECT_EQ(Format(2.675, "0.00"), "2.68");
    EXPECT_EQ(Format(1.005, "0.00"), "1.01");
}

TEST(NumberFormatRounding, CarriesIntoNewDigits) {
    EXPECT_EQ(Format(9.995, "0.00"), "10.00");
    EXPECT_EQ(Format(99.96, "0.0"), "100.0");
    EXPECT_EQ(Format(999.5, "#,##0"), "1,000");
    EXPECT_EQ(Format(0.0096, "0.00"), "0.01");
}

TEST(NumberFormatRounding, TinyValuesBecomeUnsignedZero) {
    EXPECT_EQ(Format(0.0049, "0.00"), "0.00");
    EXPECT_EQ(Format(-0.004, "0.00"), "0.00");
    EXPECT_EQ(Format(-0.0, "0"), "0");
    EXPECT_EQ(Format(-1e-300, "0.0"), "0.0");
}

TEST(NumberFormatDigits, ZeroPadsTheIntegerPart) {
    EXPECT_EQ(Format(7, "000"), "007");
    EXPECT_EQ(Format(1234, "000"), "1234");
    EXPECT_EQ(Format(123456789, "000000000"), "123456789");
    EXPECT_EQ(Format(42, "000000000"), "000000042");
    EXPECT_EQ(Format(-7, "000"), "-007");
    EXPECT_EQ(Format(6.6, "000"), "007");
}

TEST(NumberFormatDigits, OptionalFractionDigitsDropTrailingZeros) {
    EXPECT_EQ(Format(0.3, "####0.0####"), "0.3");
    EXPECT_EQ(Format(5, "####0.0####"), "5.0");
    EXPECT_EQ(Format(2.50, "####0.0####"), "2.5");
    EXPECT_EQ(Format(0.123456789, "####0.0####"), "0.12346");
    EXPECT_EQ(Format(12345.6, "####0.0####"), "12345.6");
    EXPECT_EQ(Format(1.5, "0.00"), "1.50");
    EXPECT_EQ(Format(0, "0.00"), "0.00");
}

TEST(NumberFormatDigits, OptionalIntegerDigits) {
    EXPECT_EQ(Format(0.5, "#.##"), ".5");
    EXPECT_EQ(Format(5, "0.##"), "5");
    EXPECT_EQ(Format(0, "#"), "0");
    EXPECT_EQ(Format(0.001, "#.##"), "0");
}

TEST(NumberFormatDigits, LargeValuesKeepFifteenSignificantDigits) {
    EXPECT_EQ(Format(1e20, "0"), "100000000000000000000");
    EXPECT_EQ(Format(1234567890123456789.0, "0"), "1234567890123460000");
}

TEST(NumberFormatGrouping, GroupsThousandsWithTheGivenSymbols) {
    EXPECT_EQ(Format(1234567, "#,##0"), "1,234,567");
    EXPECT_EQ(Format(999, "#,##0"), "999");
    EXPECT_EQ(Format(0, "#,##0"), "0");
    EXPECT_EQ(Format(-1234.5, "#,##0.00"), "-1,234.50");
    EXPECT_EQ(Format(1234.5, "#,##0.00", {",", "."}), "1.234,50");
    EXPECT_EQ(Format(1234.5, "0.0", {",", "."}), "1234,5");
}

TEST(NumberFormatGrouping, NonFiniteValuesHaveFixedTexts) {
    const auto pattern = *ParseNumberPattern("0.00");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN(), pattern), "NaN");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), pattern), "Infinity");
    EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity(), pattern), "-Infinity");
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::quiet_NaN()), "NaN");
}

TEST(GeneralNumberText, PlainDecimalsWithoutTrailingZeros) {
    EXPECT_EQ(FormatGeneral(1.5), "1.5");
    EXPECT_EQ(FormatGeneral(100), "100");
    EXPECT_EQ(FormatGeneral(-42.25), "-42.25");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatGeneral(0), "0");
    EXPECT_EQ(FormatGeneral(-0.0), "0");
    EXPECT_EQ(FormatGeneral(1.5, ","), "1,5");
}

TEST(GeneralNumberText, ExponentFormForVerySmallAndLargeMagnitudes) {
    EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
    EXPECT_EQ(FormatGeneral(0.00001), "1E-05");
    EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatGeneral(1e15), "1E+15");
    EXPECT_EQ(FormatGeneral(1e20), "1E+20");
    EXPECT_EQ(FormatGeneral(-1.5e-7), "-1.5E-07");
    EXPECT_EQ(FormatGeneral(2.5e-7, ","), "2,5E-07");
    EXPECT_EQ(FormatGeneral(1e300), "1E+300");
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::denorm_min()), "4.94065645841247E-324");
}

class PointFormatting : public ::testing::Test {
protected:
    void SetUp() override { saved_ = UserLocale(); }
    void TearDown() override { SetUserLocale(saved_); }

private:
    QLocale saved_;
};

TEST_F(PointFormatting, DecimalSeparatorFollowsTheLocale) {
    SetUserLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(GetDecimalSeparator(), ",");
    SetUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(GetDecimalSeparator(), ".");
}

TEST_F(PointFormatting, DecimalCommaLocaleStillWritesAPoint) {
    SetUserLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatWithPoint(1.5, "0.00"), "1.50");
    EXPECT_EQ(FormatWithPoint(1.5, ""), "1.5");
    EXPECT_EQ(FormatWithPoint(0.3, "####0.0####"), "0.3");
    EXPECT_EQ(FormatWithPoint(-2.5e-7, ""), "-2.5E-07");
}

TEST_F(PointFormatting, GroupsStayDistinctFromThePoint) {
    SetUserLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatWithPoint(1234.5, "#,##0.00"), "1,234.50");
    SetUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FormatWithPoint(1234.5, "#,##0.00"), "1,234.50");
}

TEST_F(PointFormatting, MalformedFormatFallsBackToTheGeneralText) {
    SetUserLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatWithPoint(2.25, "0.0%"), "2.25");
}

} // namespace
} // namespace kestrix
