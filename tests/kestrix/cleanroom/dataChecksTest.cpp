#include "kestrix/cleanroom/dataChecks.h"

#include "WorkedExample.h"
#include "kestrix/table/DataTableTestSupport.h"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>

namespace kestrix::cleanroom::testing {
namespace {

using table::testing::RecordSetSpec;
using table::testing::SampleSpec;

// Twelve clean samples a minute apart at 100 L/min with a measured volume of 100 L.
struct Records {
    RecordSetSpec spec = [] {
        RecordSetSpec s = HandSpec();
        s.analogTypes = {"SVOL"};
        s.analogUnits = {"L"};
        return s;
    }();
    std::vector<SampleSpec> samples = [] {
        std::vector<SampleSpec> list;
        for (int minute = 0; minute < 12; ++minute) {
            SampleSpec sample = HandSampleSpec(kHandSamples[0], minute);
            sample.analogs = {100.0};
            list.push_back(sample);
        }
        return list;
    }();
};

struct CheckCase {
    std::string name;
    FindingKind kind;
    std::int32_t record;
    std::function<void(Records&)> trips;
    std::function<void(Records&)> passes;
};

void ZeroCounts(Records& records, int first, int count) {
    for (int i = first; i < first + count; ++i) {
        records.samples[static_cast<std::size_t>(i)].counts = {0, 0, 0, 0};
    }
}

// Adds a PM2.5 channel in µg/m³ to every sample, with the given value in one.
void WithConcentration(Records& records, std::size_t record, double value) {
    records.spec.analogTypes.push_back("PM2.5");
    records.spec.analogUnits.push_back("ug/m3");
    for (SampleSpec& sample : records.samples) {
        sample.analogs.push_back(3.0);
    }
    records.samples[record].analogs.back() = value;
}

TEST(DataChecks, EachCheckTripsOnItsRecordOnly) {
    const std::vector<CheckCase> cases{
        {"negative count", FindingKind::NegativeCount, 3,
         [](Records& r) {
             r.samples[3].counts = {-1, -1, -1, -1};
         },
         [](Records& r) {
             r.samples[3].counts = {1, 0, 0, 0};
         }},
        {"negative concentration", FindingKind::NegativeConcentration, 8,
         [](Records& r) { WithConcentration(r, 8, -0.1); },
         [](Records& r) { WithConcentration(r, 8, 0.0); }},
        {"counts in no sample time", FindingKind::ZeroSampleTime, 9,
         [](Records& r) { r.samples[9].sampleTime = 0; },
         [](Records& r) {
             r.samples[9].sampleTime = 59;
             r.samples[9].analogs = {98.3};
         }},
        {"measured volume of 0", FindingKind::ImpossibleVolume, 10,
         [](Records& r) { r.samples[10].analogs = {0.0}; },
         [](Records& r) { r.samples[10].analogs = {95.0}; }},
        {"negative measured volume", FindingKind::ImpossibleVolume, 11,
         [](Records& r) { r.samples[11].analogs = {-100.0}; },
         [](Records& r) { r.samples[11].analogs = {100.0}; }},
        {"count rising with size", FindingKind::RisingCounts, 3,
         [](Records& r) {
             r.samples[3].counts = {500, 600, 100, 10};
         },
         [](Records& r) {
             r.samples[3].counts = {600, 600, 100, 10};
         }},
        {"volume off the flow rate by more than 5%", FindingKind::VolumeMismatch, 4,
         [](Records& r) { r.samples[4].analogs = {94.9}; },
         [](Records& r) { r.samples[4].analogs = {105.0}; }},
        {"ten zero counts in a row", FindingKind::ZeroCounts, 2,
         [](Records& r) { ZeroCounts(r, 2, 10); }, [](Records& r) { ZeroCounts(r, 2, 9); }},
        {"time going back", FindingKind::TimeBackwards, 5,
         [](Records& r) { r.samples[5].timeStamp = r.samples[3].timeStamp; },
         [](Records& r) { r.samples[5].timeStamp = r.samples[4].timeStamp + 1 / 86'400.0; }},
        {"time repeating", FindingKind::TimeRepeated, 6,
         [](Records& r) { r.samples[6].timeStamp = r.samples[5].timeStamp; },
         [](Records& r) { r.samples[6].timeStamp = r.samples[5].timeStamp + 1 / 86'400.0; }},
        {"status flag", FindingKind::StatusFlags, 7,
         [](Records& r) { r.samples[7].sampleTimeStatus = 0x02; },
         [](Records& r) { r.samples[7].sampleTimeStatus = 0; }},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        Records tripping;
        c.trips(tripping);
        auto set = table::testing::MakeRecordSet(tripping.spec, tripping.samples);
        const std::vector<DataFinding> findings = CheckRecords(*set);
        ASSERT_EQ(findings.size(), 1U);
        EXPECT_EQ(findings[0].kind, c.kind);
        EXPECT_EQ(findings[0].recordIndex, c.record);
        EXPECT_FALSE(findings[0].message.empty());

        Records passing;
        c.passes(passing);
        auto clean = table::testing::MakeRecordSet(passing.spec, passing.samples);
        EXPECT_TRUE(CheckRecords(*clean).empty());
    }
}

TEST(DataChecks, AnInfiniteFlowRateSpoilsEveryRecord) {
    Records records;
    records.spec.flowRate = std::numeric_limits<float>::infinity();
    auto set = table::testing::MakeRecordSet(records.spec, records.samples);
    const std::vector<DataFinding> findings = CheckRecords(*set);
    ASSERT_EQ(findings.size(), records.samples.size());
    for (const DataFinding& finding : findings) {
        EXPECT_EQ(finding.kind, FindingKind::ImpossibleFlowRate);
    }
    EXPECT_EQ(findings[11].timeStamp, records.samples[11].timeStamp);
}

TEST(DataChecks, AZeroRunAtTheEndIsReportedWithItsRecords) {
    Records records;
    ZeroCounts(records, 2, 10);
    auto set = table::testing::MakeRecordSet(records.spec, records.samples);
    const std::vector<DataFinding> findings = CheckRecords(*set);
    ASSERT_EQ(findings.size(), 1U);
    EXPECT_EQ(findings[0].message,
              "10 zero counts in a row at 0.3 µm (records 3 to 12): is the inlet blocked?");
}

} // namespace
} // namespace kestrix::cleanroom::testing
