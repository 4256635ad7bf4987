#include "kestrix/data/modUnits.h"

#include <gtest/gtest.h>

namespace kestrix::modUnits {
namespace {

TEST(UnitCode, MatchesParseTextIgnoringCase) {
    EXPECT_EQ(GetUnitCode("cfm"), kUnitCubicFeetPerMinute);
    EXPECT_EQ(GetUnitCode("MBAR"), kUnitMillibar);
    EXPECT_EQ(GetUnitCode("hour"), kUnitHours);
    EXPECT_EQ(GetUnitCode("#"), kUnitCounts);
    EXPECT_EQ(GetUnitCode("\"H2O"), kUnitInchesOfWater);
    EXPECT_EQ(GetUnitCode("\"hg"), kUnitInchesOfMercury);
    EXPECT_EQ(GetUnitCode("UG/M3"), kUnitMicrogramsPerCubicMeter);
    EXPECT_EQ(GetUnitCode("mlpm"), kUnitMillilitersPerMinute);
}

TEST(UnitCode, MeansMetersNeverMinutes) {
    EXPECT_EQ(GetUnitCode("m"), kUnitMeters);
    EXPECT_EQ(GetUnitCode("M"), kUnitMeters);
    EXPECT_EQ(GetUnitCode("min"), kUnitMinutes);
}

TEST(UnitCode, DisplayTextsAndUnknownTextsGiveNone) {
    for (const char* text : {"h", "Counts", "L/m", "m/sec", "", " s", "s ", "meters"}) {
        EXPECT_EQ(GetUnitCode(text), kUnitNone) << text;
    }
}

TEST(UnitCode, ComparesTheWholeText) {
    EXPECT_EQ(GetUnitCode(std::string("s\0", 2)), kUnitNone);
    EXPECT_EQ(GetUnitCode(std::string("\0", 1)), kUnitNone);
}

TEST(UnitNames, CoverEveryCodeAndNothingElse) {
    for (std::int32_t code = kFirstUnitCode; code <= kLastUnitCode; ++code) {
        EXPECT_FALSE(GetUnitShortName(code).empty()) << code;
        EXPECT_FALSE(GetUnitLongName(code).empty()) << code;
    }
    for (const std::int32_t code : std::initializer_list<std::int32_t>{kUnitNone, kLastUnitCode + 1,
                                                                       -1, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(GetUnitShortName(code), "") << code;
        EXPECT_EQ(GetUnitLongName(code), "") << code;
    }
}

TEST(UnitNames, NamedCodesCarryTheirTexts) {
    EXPECT_EQ(GetUnitShortName(kUnitMinutes), "m");
    EXPECT_EQ(GetUnitShortName(kUnitMeters), "m");
    EXPECT_EQ(GetUnitLongName(kUnitMinutes), "minutes");
    EXPECT_EQ(GetUnitShortName(kUnitLitersPerMinute), "L/m");
    EXPECT_EQ(GetUnitShortName(kUnitMillimetersOfWater), "mmH2O");
    EXPECT_EQ(GetUnitLongName(kUnitCubicFeetPerMinute), "CubicFeet/minute");
    EXPECT_EQ(GetUnitLongName(kUnitMilliohms), "milli-Ohms");
    EXPECT_EQ(GetUnitShortName(kUnitMicrogramsPerCubicMeter), "ug/m^3");
}

} // namespace
} // namespace kestrix::modUnits
