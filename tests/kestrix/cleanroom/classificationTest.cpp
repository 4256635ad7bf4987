#include "kestrix/cleanroom/classification.h"

#include "WorkedExample.h"
#include "kestrix/table/DataTableTestSupport.h"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>

namespace kestrix::cleanroom::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

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

// Records opened from the archive or archived by their download: the window's report says where
// in the archive's chain they were.
TEST(Classification, TheReportCarriesTheRecordsArchiveHead) {
    auto set = MakeHandRecordSet();
    set->SetArchiveHead("event 4 sha256:" + std::string(64, 'a'));
    const ClassificationOutcome outcome = ClassifyNamed(*set, Iso7Request());
    ASSERT_TRUE(outcome.report) << outcome.refusal;
    EXPECT_EQ(outcome.report->archiveHead, set->GetArchiveHead());
}

TEST(Classification, CountsAreCumulativeWhateverTheTableShows) {
    // The set keeps cumulative counts; the 0.5 µm count is not the 0.5-1.0 µm difference.
    auto set = MakeHandRecordSet();
    ClassificationRequest request = Iso7Request();
    request.sizes = {0.5};
    const ClassificationReport report = *ClassifyNamed(*set, request).report;
    const data::clsDataRecord& first = *set->Record(0);
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

using Spoiler =
    std::function<void(table::testing::RecordSetSpec&, std::vector<table::testing::SampleSpec>&)>;

// Spoils the first two samples (location 1) of three; the third is clean, at location 2.
struct ImpossibleCase {
    std::string name;
    std::string said;
    Spoiler spoil;
    bool recordLevel = true; // false: every record of the set is spoiled
};

void SetSamples(std::vector<table::testing::SampleSpec>& samples,
                const std::function<void(table::testing::SampleSpec&)>& change) {
    change(samples[0]);
    change(samples[1]);
}

// An analog channel in every sample: a clean value, and the spoiled one in the first two.
Spoiler SpoilAnalog(std::string type, std::string unit, double spoiled) {
    return
        [=](table::testing::RecordSetSpec& spec, std::vector<table::testing::SampleSpec>& samples) {
            spec.analogTypes = {type};
            spec.analogUnits = {unit};
            for (table::testing::SampleSpec& one : samples) {
                one.analogs = {100.0};
            }
            SetSamples(samples, [=](table::testing::SampleSpec& one) { one.analogs = {spoiled}; });
        };
}

TEST(Classification, ImpossibleDataIsLeftOutAndNeverPasses) {
    using table::testing::RecordSetSpec;
    using table::testing::SampleSpec;
    const std::vector<ImpossibleCase> cases{
        {"counts of -5 in every channel", "The count at 0.3 µm is -5",
         [](RecordSetSpec&, std::vector<SampleSpec>& s) {
             SetSamples(s, [](SampleSpec& one) { one.counts = {-5, -5, -5, -5}; });
         }},
        {"a negative concentration", "The PM2.5 value is -1 ug/m3",
         SpoilAnalog("PM2.5", "ug/m3", -1.0)},
        {"counts in no sample time", "The record has counts but a sample time of 0",
         [](RecordSetSpec&, std::vector<SampleSpec>& s) {
             SetSamples(s, [](SampleSpec& one) { one.sampleTime = 0; });
         }},
        {"a measured volume of 0", "The sampled volume is 0 L", SpoilAnalog("SVOL", "L", 0.0)},
        {"a negative measured volume", "The sampled volume is -100 L",
         SpoilAnalog("SVOL", "L", -100.0)},
        // A download can bring it; a file cannot, and a flow rate not above 0 no set takes.
        {"an infinite flow rate", "The flow rate inf LPM is not a finite number above 0",
         [](RecordSetSpec& spec, std::vector<SampleSpec>&) {
             spec.flowRate = std::numeric_limits<float>::infinity();
         },
         false},
    };
    ClassificationRequest request = Iso7Request();
    request.target.isoClass = 3;
    request.sizes = {0.5};
    for (const ImpossibleCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordSetSpec spec = HandSpec();
        std::vector<SampleSpec> samples{HandSampleSpec(kHandSamples[0], 0),
                                        HandSampleSpec(kHandSamples[1], 1),
                                        HandSampleSpec(kHandSamples[2], 2)};
        c.spoil(spec, samples);
        auto spoiled = table::testing::MakeRecordSet(spec, samples);
        const ClassificationOutcome refused = ClassifyNamed(*spoiled, request);
        EXPECT_FALSE(refused.report);
        EXPECT_THAT(refused.refusal, HasSubstr("Location 1 (Airlock) has no usable record left"));
        EXPECT_THAT(refused.refusal, HasSubstr("Record 1, location 1: impossible data: " + c.said));
        EXPECT_THAT(refused.refusal, HasSubstr("Record 2, location 1: impossible data: " + c.said));
        if (!c.recordLevel) {
            continue;
        }
        // A clean sample at the location is classified alone; the spoiled ones are named.
        SampleSpec clean = HandSampleSpec(kHandSamples[0], 3);
        clean.analogs = samples[2].analogs;
        samples.push_back(clean);
        auto mixed = table::testing::MakeRecordSet(spec, samples);
        const ClassificationOutcome outcome = ClassifyNamed(*mixed, request);
        ASSERT_TRUE(outcome.report) << outcome.refusal;
        const ClassificationReport& report = *outcome.report;
        ASSERT_EQ(report.leftOut.size(), 2U);
        EXPECT_THAT(report.leftOut[1].reason, HasSubstr(c.said));
        EXPECT_DOUBLE_EQ(report.locations[0].means[0], MeanOf(10'000, 10'000));
        ASSERT_EQ(report.findings.size(), 2U);
        EXPECT_THAT(report.findings[0].message, HasSubstr(c.said));
    }
}

TEST(Classification, ARefusalNamesTheFirstTenRecordsLeftOut) {
    std::vector<table::testing::SampleSpec> samples;
    for (int minute = 0; minute < 12; ++minute) {
        samples.push_back(HandSampleSpec(kHandSamples[0], minute));
        samples.back().counts = {-1, -1, -1, -1};
    }
    auto set = table::testing::MakeRecordSet(HandSpec(), samples);
    const std::string refusal = ClassifyNamed(*set, Iso7Request()).refusal;
    EXPECT_THAT(refusal, HasSubstr("Record 10, location 1: impossible data"));
    EXPECT_THAT(refusal, Not(HasSubstr("Record 11")));
    EXPECT_THAT(refusal, HasSubstr("... and 2 more record(s)."));
}

} // namespace
} // namespace kestrix::cleanroom::testing
