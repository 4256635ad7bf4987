#include "kestrix/data/modDataType.h"

#include <gtest/gtest.h>
#include <locale>

namespace kestrix::modDataType {
namespace {

TEST(DataTypeName, ShowsSizesWithOneToFiveDecimals) {
    EXPECT_EQ(GetDataTypeName("0.3"), "0.3 micron");
    EXPECT_EQ(GetDataTypeName("10"), "10.0 micron");
    EXPECT_EQ(GetDataTypeName("2.50"), "2.5 micron");
    EXPECT_EQ(GetDataTypeName("0.123456"), "0.12346 micron");
    EXPECT_EQ(GetDataTypeName("0.000001"), "0.0 micron");
    EXPECT_EQ(GetDataTypeName("12345678"), "12345678.0 micron");
}

TEST(DataTypeName, ReadsSizeTextLikeANumericScan) {
    EXPECT_EQ(GetDataTypeName("1 0"), "10.0 micron");
    EXPECT_EQ(GetDataTypeName(" 0.5 "), "0.5 micron");
    EXPECT_EQ(GetDataTypeName("1.2.3"), "1.2 micron");
    EXPECT_EQ(GetDataTypeName("."), "0.0 micron");
    EXPECT_EQ(GetDataTypeName("   "), "0.0 micron");
}

TEST(DataTypeName, KeepsAnUnreadableHugeSizeAsWritten) {
    const std::string huge(400, '9');
    EXPECT_EQ(GetDataTypeName(huge), huge + " micron");
}

TEST(DataTypeName, ShowsDerivedTags) {
    EXPECT_EQ(GetDataTypeName("MC0.5"), "0.5 micron");
    EXPECT_EQ(GetDataTypeName("C0.3"), "0.3 micron");
    EXPECT_EQ(GetDataTypeName("PM10.0"), "PM10.0");
    EXPECT_EQ(GetDataTypeName("PM2.5"), "PM2.5");
}

TEST(DataTypeName, ShortDerivedTagsFallThrough) {
    EXPECT_EQ(GetDataTypeName("C5"), "C5");
    EXPECT_EQ(GetDataTypeName("MC5"), "MC5");
    EXPECT_EQ(GetDataTypeName("PM5"), "PM5");
}

TEST(DataTypeName, FixedTagsAndOthers) {
    EXPECT_EQ(GetDataTypeName("TIME"), "Timestamp");
    EXPECT_EQ(GetDataTypeName("STIM"), "Sample Time");
    EXPECT_EQ(GetDataTypeName("DPRS"), "Diff. Pressure");
    EXPECT_EQ(GetDataTypeName("RH"), "Relative Humidity");
    EXPECT_EQ(GetDataTypeName("TPM"), "TPM");
    EXPECT_EQ(GetDataTypeName("temp"), "temp");
    EXPECT_EQ(GetDataTypeName("XYZ"), "XYZ");
    EXPECT_EQ(GetDataTypeName(""), "");
}

struct CommaDecimalPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(DataTypeName, IgnoresTheProcessLocale) {
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaDecimalPoint));
    const std::string title = GetDataTypeName("12345.25");
    std::locale::global(previous);
    EXPECT_EQ(title, "12345.25 micron");
}

TEST(ParticleTags, RecogniseSizeTexts) {
    EXPECT_TRUE(IsParticleSizeType("0.3"));
    EXPECT_TRUE(IsParticleSizeType("1 0"));
    EXPECT_FALSE(IsParticleSizeType(""));
    EXPECT_FALSE(IsParticleSizeType("0.3a"));
    EXPECT_FALSE(IsParticleSizeType("-1"));
}

TEST(ParticleTags, RecogniseDerivedFormsByPrefixAndLength) {
    EXPECT_TRUE(IsNormalizedCountType("C0.3"));
    EXPECT_TRUE(IsNormalizedCountType("C 5"));
    EXPECT_FALSE(IsNormalizedCountType("C5"));
    EXPECT_FALSE(IsNormalizedCountType("c0.3"));
    EXPECT_FALSE(IsNormalizedCountType("CX.3"));
    EXPECT_TRUE(IsMassConcentrationType("MC0.5"));
    EXPECT_FALSE(IsMassConcentrationType("MC5"));
    EXPECT_FALSE(IsMassConcentrationType("C0.5"));
    EXPECT_TRUE(IsParticulateMatterType("PM2.5"));
    EXPECT_FALSE(IsParticulateMatterType("PM5"));
    EXPECT_FALSE(IsParticulateMatterType("PMX5"));
}

TEST(ParticleTags, SplitSizeFromDerivedTag) {
    EXPECT_EQ(GetNormalizedCountSize("C0.3"), "0.3");
    EXPECT_EQ(GetNormalizedCountSize("MC0.3"), "");
    EXPECT_EQ(GetMassConcentrationSize("MC0.3"), "0.3");
    EXPECT_EQ(GetMassConcentrationSize("PM0.3"), "");
    EXPECT_EQ(GetParticulateMatterSize("PM10.0"), "10.0");
    EXPECT_EQ(GetParticulateMatterSize("TEMP"), "");
}

TEST(ParticleTags, MakeDerivedTagsOnlyFromSizes) {
    EXPECT_EQ(MakeNormalizedCountType("0.3"), "C0.3");
    EXPECT_EQ(MakeNormalizedCountType("0.3um"), "");
    EXPECT_EQ(MakeMassConcentrationType("2.5"), "MC2.5");
    EXPECT_EQ(MakeMassConcentrationType(""), "");
    EXPECT_EQ(MakeParticulateMatterType("10"), "PM10");
    EXPECT_EQ(MakeParticulateMatterType("TEMP"), "");
}

TEST(AnalogTags, ExcludeItemsKeptElsewhere) {
    for (const char* tag : {"LOC", "TIME", "STAT", "FLOW", "LASV", "VAC"}) {
        EXPECT_FALSE(IsAnalogChannelType(tag)) << tag;
    }
    EXPECT_TRUE(IsAnalogChannelType("TEMP"));
    EXPECT_TRUE(IsAnalogChannelType("XYZ"));
    EXPECT_TRUE(IsAnalogChannelType("loc"));
}

} // namespace
} // namespace kestrix::modDataType
