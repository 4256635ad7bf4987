#include "kestrix/calc/unitConversion.h"

#include "kestrix/data/modUnits.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kestrix::modUnits {
namespace {

constexpr double kTight = 1e-9;

TEST(UnitConversionTemperature, UsesTheRoundedConstantsSoSixtyEightFahrenheitIsNotExactlyTwenty) {
    const double celsius = ConvertUnits(68.0, kUnitFahrenheit, kUnitCelsius);
    EXPECT_NE(celsius, 20.0);
    EXPECT_NEAR(celsius, 68.0 * 0.5555555556 - 17.77777778, 1e-12);
    EXPECT_NEAR(celsius, 20.0000000008, 1e-10);
}

TEST(UnitConversionTemperature, CelsiusAndKelvinDifferByAnOffset) {
    EXPECT_DOUBLE_EQ(ConvertUnits(0.0, kUnitCelsius, kUnitKelvin), 273.15);
    EXPECT_DOUBLE_EQ(ConvertUnits(300.0, kUnitKelvin, kUnitCelsius), 300.0 - 273.15);
}

TEST(UnitConversionTemperature, KelvinToFahrenheitUsesItsOwnOffset) {
    EXPECT_DOUBLE_EQ(ConvertUnits(0.0, kUnitKelvin, kUnitFahrenheit), -459.666);
    EXPECT_DOUBLE_EQ(GetConversionOffset(kUnitFahrenheit, kUnitKelvin), 255.3722222);
}

TEST(UnitConversionTemperature, SameUnitPassesTheValueUnchanged) {
    EXPECT_EQ(ConvertUnits(10.0, kUnitCelsius, kUnitCelsius), 10.0);
    EXPECT_EQ(GetConversionOffset(kUnitFahrenheit, kUnitFahrenheit), 0.0);
}

TEST(UnitConversionVolume, FlowConvertsLikeTheVolumeOfTheSameBase) {
    EXPECT_DOUBLE_EQ(ConvertUnits(1.0, kUnitCubicFeetPerMinute, kUnitLitersPerMinute), 28.31684659);
    EXPECT_DOUBLE_EQ(ConvertUnits(1.0, kUnitCubicFeet, kUnitLiters), 28.31684659);
    EXPECT_DOUBLE_EQ(ConvertUnits(2.0, kUnitLitersPerMinute, kUnitCubicFeetPerMinute),
                     2.0 * 0.03531466672);
    EXPECT_DOUBLE_EQ(ConvertUnits(1.0, kUnitMillilitersPerMinute, kUnitCubicFeet),
                     0.00003531466672);
}

TEST(UnitConversionVolume, VolumeAndFlowOfTheSameBaseConvertWithFactorOne) {
    EXPECT_EQ(ConvertUnits(1.0, kUnitCubicFeet, kUnitCubicFeetPerMinute), 1.0);
    EXPECT_EQ(ConvertUnits(7.5, kUnitCubicMetersPerMinute, kUnitCubicMeters), 7.5);
    EXPECT_EQ(ConvertUnits(3.0, kUnitMilliliters, kUnitMillilitersPerMinute), 3.0);
}

TEST(UnitConversionVolume, MillilitresConvertToTheOtherGroups) {
    EXPECT_DOUBLE_EQ(GetConversionFactor(kUnitMilliliters, kUnitCubicMeters), 0.000001);
    EXPECT_DOUBLE_EQ(GetConversionFactor(kUnitCubicMeters, kUnitMillilitersPerMinute), 1000000.0);
    EXPECT_DOUBLE_EQ(GetConversionFactor(kUnitCubicFeet, kUnitMilliliters), 28316.84659);
}

TEST(UnitConversionUnrelated, PairsOutsideOneFamilyPassTheValueUnchanged) {
    EXPECT_EQ(ConvertUnits(5.0, kUnitFahrenheit, kUnitFeet), 5.0);
    EXPECT_EQ(ConvertUnits(5.0, kUnitPascals, kUnitLiters), 5.0);
    EXPECT_EQ(ConvertUnits(5.0, kUnitVolts, kUnitMilliamps), 5.0);
    EXPECT_EQ(ConvertUnits(5.0, kUnitNone, kUnitCelsius), 5.0);
    EXPECT_EQ(ConvertUnits(5.0, kUnitCelsius, kUnitNone), 5.0);
    EXPECT_EQ(ConvertUnits(5.0, kUnitCounts, kUnitPercent), 5.0);
    EXPECT_EQ(ConvertUnits(5.0, kUnitMicrogramsPerCubicMeter, kUnitParticlesPerCubicMeter), 5.0);
    EXPECT_EQ(ConvertUnits(5.0, 41, -3), 5.0);
}

TEST(UnitConversionPressure, KilopascalsAndPascals) {
    EXPECT_DOUBLE_EQ(ConvertUnits(3.0, kUnitKilopascals, kUnitPascals), 3000.0);
    EXPECT_DOUBLE_EQ(ConvertUnits(3.0, kUnitPascals, kUnitKilopascals), 0.003);
}

TEST(UnitConversionPressure, EachEntryKeepsItsOwnValue) {
    EXPECT_DOUBLE_EQ(GetConversionFactor(kUnitInchesOfWater, kUnitMillimetersOfWater), 25.3999998);
    EXPECT_DOUBLE_EQ(GetConversionFactor(kUnitInchesOfMercury, kUnitMillimetersOfMercury),
                     25.3999997);
    EXPECT_DOUBLE_EQ(GetConversionFactor(kUnitBar, kUnitMillimetersOfWater), 10197.1621298);
    EXPECT_DOUBLE_EQ(GetConversionFactor(kUnitMillibar, kUnitCentimetersOfMercury), 0.07500615613);
    EXPECT_DOUBLE_EQ(GetConversionFactor(kUnitMillimetersOfWater, kUnitBar), 0.0000981);
    EXPECT_EQ(GetConversionFactor(kUnitCentimetersOfMercury, kUnitCentimetersOfMercury), 1.0);
}

TEST(UnitConversionTime, MinuteFractionsAreTheExactDoubleQuotients) {
    EXPECT_EQ(GetConversionFactor(kUnitSeconds, kUnitMinutes), 0.016666666666666666);
    EXPECT_EQ(GetConversionFactor(kUnitSeconds, kUnitHours), 0.0002777777777777778);
    EXPECT_EQ(ConvertUnits(2.0, kUnitHours, kUnitSeconds), 7200.0);
    EXPECT_EQ(ConvertUnits(90.0, kUnitMinutes, kUnitHours), 1.5);
}

TEST(UnitConversionLength, MetresToFeetUsesTheWrittenConstant) {
    EXPECT_DOUBLE_EQ(ConvertUnits(1.0, kUnitMeters, kUnitFeet), 3.28083);
    EXPECT_DOUBLE_EQ(ConvertUnits(10.0, kUnitFeet, kUnitMeters), 3.048);
    EXPECT_DOUBLE_EQ(GetConversionFactor(kUnitSquareMeters, kUnitSquareFeet), 10.76391042);
}

TEST(UnitConversionLength, AirVelocityFollowsFromTheLengthConstants) {
    EXPECT_NEAR(ConvertUnits(1.0, kUnitMetersPerSecond, kUnitFeetPerMinute), 196.8498, kTight);
    EXPECT_NEAR(ConvertUnits(60.0, kUnitFeetPerMinute, kUnitMetersPerSecond), 0.3048, kTight);
}

TEST(UnitConversionConcentration, ParticleConcentrations) {
    EXPECT_DOUBLE_EQ(ConvertUnits(35.0, kUnitParticlesPerCubicFoot, kUnitParticlesPerCubicMeter),
                     35.0 * 35.31466672);
    EXPECT_DOUBLE_EQ(GetConversionFactor(kUnitParticlesPerCubicMeter, kUnitParticlesPerCubicFoot),
                     0.02831684659);
}

TEST(UnitConversionElectrical, UnitsAndMilliUnits) {
    EXPECT_EQ(ConvertUnits(1.5, kUnitVolts, kUnitMillivolts), 1500.0);
    EXPECT_DOUBLE_EQ(ConvertUnits(250.0, kUnitMilliamps, kUnitAmps), 0.25);
    EXPECT_DOUBLE_EQ(ConvertUnits(2.0, kUnitMilliohms, kUnitOhms), 0.002);
    EXPECT_EQ(ConvertUnits(2.0, kUnitOhms, kUnitMilliohms), 2000.0);
}

TEST(UnitChoice, PositionZeroIsTheDefaultUnit) {
    EXPECT_EQ(GetUnitChoice("TEMP", 0), "6");
    EXPECT_EQ(GetUnitChoice("STIM", 0), "3");
    EXPECT_EQ(GetUnitChoice("SVOL", 2), "15");
    EXPECT_EQ(GetUnitChoice("FLOW", 2), "18");
}

TEST(UnitChoice, PositionsPastTheEndGiveZero) {
    EXPECT_EQ(GetUnitChoice("TEMP", 3), "0");
    EXPECT_EQ(GetUnitChoice("RH", 1), "0");
    EXPECT_EQ(GetUnitChoice("XYZ", 0), "0");
    EXPECT_EQ(GetUnitChoice("TEMP", -1), "0");
    EXPECT_EQ(GetUnitChoice("temp", 0), "0");
}

TEST(UnitChoice, ListsStopAtTheFirstMissingPosition) {
    EXPECT_EQ(GetUnitChoices("TEMP"), (std::vector<std::int32_t>{6, 7, 8}));
    EXPECT_EQ(GetUnitChoices("RH"), (std::vector<std::int32_t>{2}));
    EXPECT_EQ(GetUnitChoices("AIRV"), (std::vector<std::int32_t>{21, 22}));
    EXPECT_EQ(GetUnitChoices("LASV"), (std::vector<std::int32_t>{32, 33}));
    EXPECT_TRUE(GetUnitChoices("XYZ").empty());
    EXPECT_TRUE(GetUnitChoices("").empty());
}

TEST(UnitChoice, BothPressuresOfferEveryPressureUnitInCodeOrder) {
    std::vector<std::int32_t> expected;
    for (std::int32_t code = kUnitInchesOfWater; code <= kUnitMillibar; ++code) {
        expected.push_back(code);
    }
    EXPECT_EQ(GetUnitChoices("DPRS"), expected);
    EXPECT_EQ(GetUnitChoices("PRES"), expected);
}

TEST(DecimalPlaces, DependOnTheUnitForSampleVolumeTimeAndAirVelocity) {
    EXPECT_EQ(GetDecimalPlaces("SVOL", kUnitCubicMeters), 3);
    EXPECT_EQ(GetDecimalPlaces("SVOL", kUnitLiters), 1);
    EXPECT_EQ(GetDecimalPlaces("STIM", kUnitMinutes), 3);
    EXPECT_EQ(GetDecimalPlaces("STIM", kUnitSeconds), 0);
    EXPECT_EQ(GetDecimalPlaces("AIRV", kUnitMetersPerSecond), 3);
    EXPECT_EQ(GetDecimalPlaces("AIRV", kUnitFeetPerMinute), 1);
}

TEST(DecimalPlaces, ParticleTagsIgnoreTheUnit) {
    EXPECT_EQ(GetDecimalPlaces("C0.3", kUnitParticlesPerCubicMeter), 1);
    EXPECT_EQ(GetDecimalPlaces("MC0.5", kUnitNone), 2);
    EXPECT_EQ(GetDecimalPlaces("PM2.5", kUnitLiters), 2);
    EXPECT_EQ(GetDecimalPlaces("0.3", kUnitSeconds), 0);
    EXPECT_EQ(GetDecimalPlaces("TPM", kUnitMicrogramsPerCubicMeter), 2);
}

TEST(DecimalPlaces, OtherTags) {
    EXPECT_EQ(GetDecimalPlaces("TEMP", kUnitKelvin), 1);
    EXPECT_EQ(GetDecimalPlaces("RH", kUnitPercent), 1);
    EXPECT_EQ(GetDecimalPlaces("DPRS", kUnitPascals), 3);
    EXPECT_EQ(GetDecimalPlaces("XYZ", kUnitNone), 3);
    // Too short to be a normalized count tag.
    EXPECT_EQ(GetDecimalPlaces("C5", kUnitNone), 3);
}

} // namespace
} // namespace kestrix::modUnits
