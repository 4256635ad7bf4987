#include "kestrix/calc/clsParticleDataCalculator.h"

#include "kestrix/calc/ArithmeticError.h"
#include "kestrix/data/clsDataRecord.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/modUnits.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace kestrix {
namespace {

constexpr double kCubicFeetToCubicMetresCount = 35.31466672;
constexpr double kPiAsUsed = 3.141592653;

// Micrograms per cubic metre for a differential count in one cubic foot.
double ExpectedMass(double differentialCount, double diameterMicrometres, double density) {
    const double particleVolume = std::pow(diameterMicrometres * 1e-6, 3) * kPiAsUsed / 6.0;
    return differentialCount * kCubicFeetToCubicMetresCount * particleVolume * density * 1e12;
}

std::vector<std::string> KeysOf(const calc::OrderedValues& values) {
    std::vector<std::string> keys;
    for (const auto entry : values) {
        keys.emplace_back(entry.key);
    }
    return keys;
}

struct Channel {
    std::int32_t cumulativeCount;
    bool enabled = true;
};

class ParticleCalculator : public ::testing::Test {
protected:
    // Flow rate 1 CFM and 60 s samples: one cubic foot per sample.
    void Describe(const std::vector<std::string>& sizes, float flowRate = 1.0F,
                  std::string flowUnits = "CFM", const std::string& timeUnits = "s") {
        ASSERT_TRUE(recordSet.Init("IAQ", 7, flowRate, flowUnits, 2.5F, 1, timeUnits, sizes, {}, {},
                                   {}, {}));
    }

    void Sample(std::int32_t sampleTime, const std::vector<Channel>& channels) {
        record.SetSampleTimeData(sampleTime, 0);
        record.SetPartChanCount(static_cast<std::int16_t>(channels.size()));
        for (std::size_t c = 0; c < channels.size(); ++c) {
            record.SetPartChanData(static_cast<std::int16_t>(c), channels[c].cumulativeCount, 0,
                                   channels[c].enabled);
        }
        calculator.DataRecordSet(&recordSet);
        calculator.DataRecord(&record);
    }

    // Sizes 0.3, 0.5 and 1.0 with differential counts 35, 35 and 65.
    void ThreeChannels(bool middleEnabled = true) {
        Describe({"0.3", "0.5", "1.0"});
        Sample(60, {{135}, {100, middleEnabled}, {65}});
    }

    calc::OrderedValues Calculated() {
        auto results = calculator.Calculate();
        EXPECT_TRUE(results.has_value());
        return results.value_or(calc::OrderedValues{});
    }

    data::clsDataRecordSet recordSet;
    data::clsDataRecord record;
    calc::clsParticleDataCalculator calculator;
};

TEST_F(ParticleCalculator, StartsWithTheDocumentedDefaults) {
    EXPECT_EQ(calculator.DataRecordSet(), nullptr);
    EXPECT_EQ(calculator.DataRecord(), nullptr);
    EXPECT_FALSE(calculator.CumulativeModeEnabled());
    EXPECT_FALSE(calculator.NormalizedCountsEnabled());
    EXPECT_FALSE(calculator.MassConcentrationsEnabled());
    EXPECT_FALSE(calculator.ParticulateMatterEnabled());
    EXPECT_EQ(calculator.NormalizedCountUnits(), modUnits::kUnitParticlesPerCubicFoot);
    EXPECT_EQ(calculator.ParticleDensity(), 2.5);
    EXPECT_EQ(calculator.MassConcentrationUnits(), modUnits::kUnitMicrogramsPerCubicMeter);
    EXPECT_EQ(calculator.ParticulateMatterUnits(), modUnits::kUnitMicrogramsPerCubicMeter);
}

TEST_F(ParticleCalculator, GivesNoResultWithoutRecordSetOrRecord) {
    ThreeChannels();
    calculator.ParticulateMatterEnabled(true);
    calculator.DataRecord(nullptr);
    EXPECT_FALSE(calculator.Calculate().has_value());
    calculator.DataRecord(&record);
    calculator.DataRecordSet(nullptr);
    EXPECT_FALSE(calculator.Calculate().has_value());

    calc::OrderedValues reused;
    calculator.DataRecordSet(&recordSet);
    ASSERT_TRUE(calculator.Calculate(reused));
    calculator.DataRecordSet(nullptr);
    EXPECT_FALSE(calculator.Calculate(reused));
    EXPECT_EQ(reused.Count(), 0);
}

TEST_F(ParticleCalculator, NothingEnabledGivesAnEmptyCollection) {
    ThreeChannels();
    EXPECT_EQ(Calculated().Count(), 0);
}

TEST_F(ParticleCalculator, NormalizesDifferentialCountsToOneCubicFootInBothUnits) {
    ThreeChannels();
    calculator.NormalizedCountsEnabled(true);
    auto results = Calculated();
    EXPECT_EQ(KeysOf(results), (std::vector<std::string>{"C0.3", "C0.5", "C1.0"}));
    EXPECT_DOUBLE_EQ(results.Value("C0.3"), 35.0);
    EXPECT_DOUBLE_EQ(results.Value("C1.0"), 65.0);

    calculator.NormalizedCountUnits(modUnits::kUnitParticlesPerCubicMeter);
    results = Calculated();
    EXPECT_DOUBLE_EQ(results.Value("C0.3"), 35.0 * 35.31466672);
}

TEST_F(ParticleCalculator, CumulativeModeNormalizesTheStoredCounts) {
    ThreeChannels();
    calculator.NormalizedCountsEnabled(true);
    calculator.CumulativeModeEnabled(true);
    const auto results = Calculated();
    EXPECT_DOUBLE_EQ(results.Value("C0.3"), 135.0);
    EXPECT_DOUBLE_EQ(results.Value("C0.5"), 100.0);
}

TEST_F(ParticleCalculator, SampleVolumeComesFromFlowRateAndSampleTimeInTheirUnits) {
    Describe({"0.5"}, 2.0F, "LPM", "min");
    Sample(3, {{120}});
    calculator.NormalizedCountsEnabled(true);
    const double cubicFeet = 2.0 * 0.03531466672 * 3.0;
    EXPECT_NEAR(Calculated().Value("C0.5"), 120.0 / cubicFeet, 1e-9);
}

TEST_F(ParticleCalculator, UnknownSampleTimeUnitsAreTakenAsMinutes) {
    Describe({"0.5"}, 1.0F, "CFM", "fortnights");
    Sample(4, {{100}});
    calculator.NormalizedCountsEnabled(true);
    EXPECT_DOUBLE_EQ(Calculated().Value("C0.5"), 25.0);
}

TEST_F(ParticleCalculator, ZeroSampleVolumeGivesZeroInsteadOfDividing) {
    Describe({"0.3", "0.5"});
    Sample(0, {{135}, {100}});
    calculator.NormalizedCountsEnabled(true);
    calculator.ParticulateMatterEnabled(true);
    const auto results = Calculated();
    EXPECT_EQ(KeysOf(results),
              (std::vector<std::string>{"C0.3", "MC0.3", "C0.5", "PM0.5", "MC0.5", "TPM"}));
    for (const auto entry : results) {
        EXPECT_EQ(entry.value, 0.0) << entry.key;
    }
}

TEST_F(ParticleCalculator, ParticulateMatterKeysFollowChannelOrder) {
    ThreeChannels();
    calculator.ParticulateMatterEnabled(true);
    const auto results = Calculated();
    EXPECT_EQ(KeysOf(results),
              (std::vector<std::string>{"MC0.3", "PM0.5", "MC0.5", "PM1.0", "MC1.0", "TPM"}));
    EXPECT_EQ(results.Value("PM0.5"), results.Value("MC0.3"));
    EXPECT_DOUBLE_EQ(results.Value("PM1.0"), results.Value("MC0.3") + results.Value("MC0.5"));
    EXPECT_DOUBLE_EQ(results.Value("TPM"),
                     results.Value("MC0.3") + results.Value("MC0.5") + results.Value("MC1.0"));
}

TEST_F(ParticleCalculator, EveryKindTogetherKeepsTheOrderCountMatterMass) {
    ThreeChannels();
    calculator.NormalizedCountsEnabled(true);
    calculator.MassConcentrationsEnabled(true);
    calculator.ParticulateMatterEnabled(true);
    EXPECT_EQ(KeysOf(Calculated()),
              (std::vector<std::string>{"C0.3", "MC0.3", "C0.5", "PM0.5", "MC0.5", "C1.0", "PM1.0",
                                        "MC1.0", "TPM"}));
}

TEST_F(ParticleCalculator, OnlyMassConcentrationsGiveNoParticulateMatter) {
    ThreeChannels();
    calculator.MassConcentrationsEnabled(true);
    const auto results = Calculated();
    EXPECT_EQ(KeysOf(results), (std::vector<std::string>{"MC0.3", "MC0.5", "MC1.0"}));
    EXPECT_FALSE(results.Contains("TPM"));
    EXPECT_FALSE(results.Contains("PM0.5"));
}

TEST_F(ParticleCalculator, MassUsesMeanDiametersAndDifferentialCounts) {
    ThreeChannels();
    calculator.MassConcentrationsEnabled(true);
    calculator.CumulativeModeEnabled(true);
    const auto results = Calculated();
    EXPECT_NEAR(results.Value("MC0.3"), ExpectedMass(35.0, 0.4, 2.5), 1e-12);
    EXPECT_NEAR(results.Value("MC0.5"), ExpectedMass(35.0, 0.75, 2.5), 1e-12);
    EXPECT_NEAR(results.Value("MC1.0"), ExpectedMass(65.0, 1.0, 2.5), 1e-12);
}

TEST_F(ParticleCalculator, OneMicrometreParticleAtTheDefaultDensityWeighsAbout1309Picograms) {
    Describe({"1.0"});
    Sample(60, {{1}});
    calculator.MassConcentrationsEnabled(true);
    const double perParticle = Calculated().Value("MC1.0") / 35.31466672;
    EXPECT_NEAR(perParticle, 1.309e-6, 1e-9);
    EXPECT_NEAR(perParticle, 1e-18 * 2.5e12 * 0.5235987755, 1e-15);
}

TEST_F(ParticleCalculator, DisabledChannelIsSkippedButStillSetsItsNeighboursDiameter) {
    ThreeChannels(false);
    calculator.NormalizedCountsEnabled(true);
    calculator.ParticulateMatterEnabled(true);
    const auto results = Calculated();
    EXPECT_EQ(KeysOf(results),
              (std::vector<std::string>{"C0.3", "MC0.3", "C1.0", "PM1.0", "MC1.0", "TPM"}));
    EXPECT_EQ(results.Value("PM1.0"), results.Value("MC0.3"));
    EXPECT_NEAR(results.Value("MC0.3"), ExpectedMass(35.0, 0.4, 2.5), 1e-12);
}

TEST_F(ParticleCalculator, DensityMustBePositive) {
    calculator.ParticleDensity(0.0);
    EXPECT_EQ(calculator.ParticleDensity(), 2.5);
    calculator.ParticleDensity(-1.0);
    EXPECT_EQ(calculator.ParticleDensity(), 2.5);
    calculator.ParticleDensity(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(calculator.ParticleDensity(), 2.5);
    calculator.ParticleDensity(1.2);
    EXPECT_EQ(calculator.ParticleDensity(), 1.2);
}

TEST_F(ParticleCalculator, ChangedDensityAppliesToTheNextCalculation) {
    ThreeChannels();
    calculator.MassConcentrationsEnabled(true);
    Calculated();
    calculator.ParticleDensity(1.2);
    EXPECT_NEAR(Calculated().Value("MC1.0"), ExpectedMass(65.0, 1.0, 1.2), 1e-12);
}

TEST_F(ParticleCalculator, FollowsARecordSetThatWasDescribedAnew) {
    ThreeChannels();
    calculator.ParticulateMatterEnabled(true);
    Calculated();
    Describe({"2.5", "10"});
    Sample(60, {{20}, {5}});
    const auto results = Calculated();
    EXPECT_EQ(KeysOf(results), (std::vector<std::string>{"MC2.5", "PM10", "MC10", "TPM"}));
    EXPECT_NEAR(results.Value("MC2.5"), ExpectedMass(15.0, 6.25, 2.5), 1e-9);
}

TEST_F(ParticleCalculator, ReusedResultsHoldOnlyTheLatestRecord) {
    ThreeChannels();
    calculator.NormalizedCountsEnabled(true);
    calc::OrderedValues results;
    ASSERT_TRUE(calculator.Calculate(results));
    record.SetPartChanData(0, 135, 0, false);
    ASSERT_TRUE(calculator.Calculate(results));
    EXPECT_EQ(KeysOf(results), (std::vector<std::string>{"C0.5", "C1.0"}));
}

TEST_F(ParticleCalculator, RepeatedSizeTagKeepsTheFirstChannelsValue) {
    Describe({"0.5", "0.5", "1.0"});
    Sample(60, {{100}, {70}, {20}});
    calculator.NormalizedCountsEnabled(true);
    const auto results = Calculated();
    EXPECT_EQ(KeysOf(results), (std::vector<std::string>{"C0.5", "C1.0"}));
    EXPECT_DOUBLE_EQ(results.Value("C0.5"), 30.0);
}

TEST_F(ParticleCalculator, OverflowingMassRaisesAnArithmeticErrorWithoutPartialResult) {
    Describe({"0.3", "1" + std::string(200, '0')});
    Sample(60, {{10}, {5}});
    calculator.MassConcentrationsEnabled(true);
    EXPECT_THROW(calculator.Calculate(), calc::ArithmeticError);

    calc::OrderedValues results;
    EXPECT_THROW(calculator.Calculate(results), calc::ArithmeticError);
    EXPECT_EQ(results.Count(), 0);
}

TEST_F(ParticleCalculator, OverflowOnlyMattersWhereTheValueIsComputed) {
    Describe({"0.3", "1" + std::string(200, '0')});
    Sample(60, {{10}, {5}});
    calculator.NormalizedCountsEnabled(true);
    EXPECT_EQ(Calculated().Count(), 2);
}

TEST_F(ParticleCalculator, InfiniteSampleVolumeRaisesAnArithmeticError) {
    Describe({"0.3"}, std::numeric_limits<float>::infinity());
    Sample(60, {{10}});
    EXPECT_THROW(calculator.Calculate(), calc::ArithmeticError);
}

} // namespace
} // namespace kestrix
