#include "kestrix/cleanroom/classification.h"

#include "WorkedExample.h"
#include "kestrix/table/DataTableTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrix::cleanroom::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Mean concentration per m³ of two samples with the given counts.
double MeanOf(double first, double second) {
    return (first + second) / 2 / kCubicMetresPerSample;
}

TEST(Classification, WorkedExampleByHand) {
    auto set = MakeHandRecordSet();
    const ClassificationOutcome outcome = ClassifyNamed(*set, Iso7Request());
    ASSERT_TRUE(outcome.report) << outcome.refusal;
    const ClassificationReport& report = *outcome.report;
    EXPECT_THAT(report.limits, ElementsAre(352'000, 2'930));
    ASSERT_EQ(report.locations.size(), 3U);

    struct Expected {
        std::int32_t id;
        std::string name;
        double mean05;
        double mean50;
        bool passed;
        int cleanest;
    };
    const Expected expected[] = {
        {1, "Airlock", MeanOf(10'000, 12'000), MeanOf(100, 140), true, 7},
        {2, "Filling", MeanOf(20'000, 22'000), MeanOf(250, 260), true, 7},
        {3, "Corridor", MeanOf(30'000, 40'000), MeanOf(300, 320), false, 8},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        const LocationResult& location = report.locations[i];
        SCOPED_TRACE(location.name);
        EXPECT_EQ(location.locationId, expected[i].id);
        EXPECT_EQ(location.name, expected[i].name);
        EXPECT_EQ(location.samples.size(), 2U);
        EXPECT_DOUBLE_EQ(location.totalLitres, 200.0);
        ASSERT_EQ(location.means.size(), 2U);
        EXPECT_DOUBLE_EQ(location.means[0], expected[i].mean05);
        EXPECT_DOUBLE_EQ(location.means[1], expected[i].mean50);
        EXPECT_EQ(location.passed, expected[i].passed);
        EXPECT_EQ(location.cleanestIsoClass, expected[i].cleanest);
    }
    EXPECT_THAT(report.locations[2].withinLimit, ElementsAre(true, false));
    EXPECT_FALSE(report.passed);
    EXPECT_THAT(report.checks, IsEmpty());
    EXPECT_THAT(report.findings, IsEmpty());

    ClassificationRequest firstTwo = Iso7Request();
    firstTwo.locations = {1, 2};
    EXPECT_TRUE(ClassifyNamed(*set, firstTwo).report->passed);
}

TEST(Classification, CountsAreCumulativeWhateverTheTableShows) {
    // The set keeps cumulative counts; the 0.5 µm count is not the 0.5-1.0 µm difference.
    auto set = MakeHandRecordSet();
    ClassificationRequest request = Iso7Request();
    request.sizes = {0.5};
    const ClassificationReport report = *ClassifyNamed(*set, request).report;
    const clsDataRecord& first = *set->Record(0);
    ASSERT_NE(first.GetPartChanValue(1, false), first.GetPartChanValue(1, true));
    EXPECT_DOUBLE_EQ(report.locations[0].samples[0].perCubicMetre[0],
                     first.GetPartChanValue(1, true) / kCubicMetresPerSample);
}

TEST(Classification, RefusalsNameTheReason) {
    auto set = MakeHandRecordSet();
    struct Case {
        std::string name;
        void (*change)(ClassificationRequest&);
        std::string reason;
    };
    const Case cases[] = {
        {"size without channel", [](ClassificationRequest& r) { r.sizes = {0.7}; },
         "no particle channel of 0.7 µm; its channels are 0.3, 0.5, 1.0, 5.0 µm"},
        {"ISO 5 at 5.0 needs a limit for the sample volume",
         [](ClassificationRequest& r) {
             r.target.isoClass = 5;
             r.sizes = {0.5, 5.0};
         },
         "no limit for ISO 5 at 5.0 µm"},
        {"grade D in operation",
         [](ClassificationRequest& r) {
             r.target = {std::nullopt, GmpGrade::D, CleanroomState::InOperation};
         },
         "does not predetermine"},
        {"no area", [](ClassificationRequest& r) { r.areaSquareMetres = 0; }, "area"},
        {"no records there", [](ClassificationRequest& r) { r.locations = {9}; },
         "No records at the chosen locations"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClassificationRequest request = Iso7Request();
        c.change(request);
        const ClassificationOutcome outcome = ClassifyNamed(*set, request);
        EXPECT_FALSE(outcome.report);
        EXPECT_THAT(outcome.refusal, HasSubstr(c.reason));
    }
}

TEST(Classification, MinimumSampleVolumeFollowsTheLargestSize) {
    EXPECT_NEAR(MinimumSampleLitres(293), 68.26, 0.01); // ISO 6 at 5.0 µm
    EXPECT_EQ(MinimumSampleLitres(3'520'000), 2.0);     // never under 2 L
    ClassificationRequest request = Iso7Request();
    request.target.isoClass = 6;
    request.sizes = {5.0};
    for (const auto& [litresPerMinute, warned] : {std::pair{60.0F, true}, {100.0F, false}}) {
        table::testing::RecordSetSpec spec = HandSpec();
        spec.flowRate = litresPerMinute;
        auto slow = table::testing::MakeRecordSet(spec, {HandSampleSpec(kHandSamples[0], 0)});
        const ClassificationReport report = *ClassifyNamed(*slow, request).report;
        EXPECT_EQ(report.limits.front(), 293);
        const std::string warning =
            "Location 1 (Airlock): 1 of 1 sample(s) below the minimum sample volume of 68.3 L.";
        EXPECT_EQ(std::find(report.checks.begin(), report.checks.end(), warning) !=
                      report.checks.end(),
                  warned)
            << litresPerMinute;
    }
}

TEST(Classification, SamplingPlanChecks) {
    auto set = MakeHandRecordSet();
    ClassificationRequest request = Iso7Request();
    request.areaSquareMetres = 10.5; // needs 6 locations
    EXPECT_THAT(ClassifyNamed(*set, request).report->checks,
                Contains(HasSubstr("Only 3 location(s) sampled; an area of 10.5 m² needs at "
                                   "least 6.")));

    request = Iso7Request();
    request.locations = {1, 2, 3, 4};
    EXPECT_THAT(ClassifyNamed(*set, request).report->checks,
                Contains("Location 4 was chosen but has no records."));

    request = Iso7Request();
    request.target = {std::nullopt, GmpGrade::A, CleanroomState::AtRest};
    EXPECT_THAT(ClassifyNamed(*set, request).report->checks,
                Contains("Location 3 (Corridor): 200.0 L sampled in total; grade A needs at "
                         "least 1 m³ (1,000 L) per location."));

    table::testing::RecordSetSpec spec = HandSpec();
    table::testing::SampleSpec shortSample = HandSampleSpec(kHandSamples[0], 0);
    shortSample.sampleTime = 59;
    auto shortSet = table::testing::MakeRecordSet(spec, {shortSample});
    EXPECT_THAT(ClassifyNamed(*shortSet, Iso7Request()).report->checks,
                Contains("Location 1 (Airlock): 1 of 1 sample(s) shorter than one minute."));
}

TEST(Classification, FlaggedRecordsAreListedAndLeftOutOfTheMeans) {
    std::vector<table::testing::SampleSpec> samples{HandSampleSpec(kHandSamples[0], 0),
                                                    HandSampleSpec(kHandSamples[1], 1),
                                                    HandSampleSpec(kHandSamples[1], 2)};
    samples[1].particleStatus = {0, 0x08}; // malfunction: left out
    samples[2].particleStatus = {0, 0x10}; // threshold exceeded: kept
    samples[2].timeStamp = samples[1].timeStamp + 1 / 1440.0;
    auto set = table::testing::MakeRecordSet(HandSpec(), samples);
    const ClassificationReport report = *ClassifyNamed(*set, Iso7Request()).report;
    ASSERT_EQ(report.leftOut.size(), 1U);
    EXPECT_EQ(report.leftOut[0].recordIndex, 1);
    EXPECT_THAT(report.leftOut[0].reason, HasSubstr("instrument malfunctioned"));
    EXPECT_EQ(report.locations[0].samples.size(), 2U);
    EXPECT_DOUBLE_EQ(report.locations[0].means[0], MeanOf(10'000, 12'000));
    EXPECT_THAT(report.checks, Contains(HasSubstr("1 record(s) left out of the means")));
    EXPECT_EQ(report.findings.size(), 2U); // both flagged records are questioned
}

} // namespace
} // namespace kestrix::cleanroom::testing
