#include "IaqExample.h"
#include "kestrix/calc/OrderedValues.h"
#include "kestrix/calc/clsParticleDataCalculator.h"
#include "kestrix/data/clsDataRecordSet.h"

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrix::iaq::testing {
namespace {

using ::testing::HasSubstr;

// The PM values of one sample of the level, computed alone the way the table's PM columns are.
std::pair<double, double> SamplePm(std::int32_t level) {
    table::testing::SampleSpec sample;
    sample.counts = LevelCounts(level);
    sample.analogs = {};
    auto set = table::testing::MakeRecordSet(IaqSpec(), {sample});
    calc::clsParticleDataCalculator calculator;
    calculator.DataRecordSet(set.get());
    calculator.ParticleDensity(set->GetParticleDensity());
    calculator.ParticulateMatterEnabled(true);
    calculator.DataRecord(set->Record(0));
    const calc::OrderedValues values = *calculator.Calculate();
    return {values.Value("PM2.5"), values.Value("PM10.0")};
}

double Hundredths(double value) {
    return std::round(value * 100) / 100;
}

TEST(IaqReport, DaysCountRecordsAndHoursAndJudgeCompleteDaysOnly) {
    auto set = MakeIaqRecordSet();
    const IaqOutcome outcome = ComputeNamed(*set);
    ASSERT_TRUE(outcome.report) << outcome.message;
    const IaqReport& report = *outcome.report;
    struct Expected {
        const char* date;
        std::int32_t records;
        int hours;
        bool complete;
    };
    const Expected expected[] = {
        {"2025-03-02", 30, 24, true}, {"2025-03-03", 23, 17, false}, {"2025-03-04", 24, 18, true}};
    ASSERT_EQ(report.days.size(), std::size(expected));
    for (std::size_t i = 0; i < report.days.size(); ++i) {
        const IaqDay& day = report.days[i];
        SCOPED_TRACE(day.date);
        EXPECT_EQ(day.date, expected[i].date);
        EXPECT_EQ(day.records, expected[i].records);
        EXPECT_EQ(day.hours, expected[i].hours);
        EXPECT_EQ(day.complete, expected[i].complete);
        EXPECT_EQ(day.whoExceededPm2_5.has_value(), day.complete);
        ASSERT_TRUE(day.mean.pm2_5 && day.index.pm2_5 && day.index.overall);
        EXPECT_EQ(day.index.pm2_5->value, IndexOf(Pollutant::Pm2_5, *day.mean.pm2_5).value);
    }
    // The 17-hour day is the dirtiest, yet counts as no exceedance and not in the means.
    EXPECT_GT(*report.days[1].mean.pm2_5, kWhoDailyPm2_5);
    EXPECT_GT(*report.days[0].mean.pm2_5, kWhoDailyPm2_5);
    EXPECT_LT(*report.days[2].mean.pm2_5, kWhoDailyPm2_5);
    EXPECT_EQ(report.period.completeDays, 2);
    EXPECT_EQ(report.period.exceedanceDaysPm2_5, 1);
    EXPECT_DOUBLE_EQ(*report.period.mean.pm2_5,
                     Hundredths((*report.days[0].mean.pm2_5 + *report.days[2].mean.pm2_5) / 2));
    EXPECT_FALSE(report.period.spansYear);
}

// Location 1 alone holds one level a day, so its means are one sample's PM values.
TEST(IaqReport, OneLocationAmongSeveralUsesItsRecordsOnly) {
    auto set = MakeIaqRecordSet();
    for (const std::int32_t location : {1, 2}) {
        SCOPED_TRACE(location);
        const IaqOutcome outcome = ComputeNamed(*set, IaqRequest{{location}});
        ASSERT_TRUE(outcome.report) << outcome.message;
        const IaqReport& report = *outcome.report;
        EXPECT_EQ(report.locationNames,
                  std::vector<std::string>{location == 1 ? "OFFICE" : "HALL"});
        for (std::size_t i = 0; i < report.days.size(); ++i) {
            const ExampleDay& day = kExampleDays[i];
            const std::int32_t level = location == 1 ? day.level : day.level / 10;
            const auto [pm2_5, pm10] = SamplePm(level);
            EXPECT_EQ(report.days[i].records, location == 1 ? day.hours : 6);
            EXPECT_DOUBLE_EQ(*report.days[i].mean.pm2_5, Hundredths(pm2_5));
            EXPECT_DOUBLE_EQ(*report.days[i].mean.pm10, Hundredths(pm10));
        }
    }
}

TEST(IaqReport, ARecordSetOverAYearHasAnAnnualMean) {
    auto set = MakeIaqRecordSet({{1, 24, 100}});
    data::clsDataRecord later = *set->Record(0);
    later.SetTimeStamp(later.GetTimeStamp() + 365);
    ASSERT_TRUE(set->RecordCopy(1, &later));
    const IaqOutcome outcome = ComputeNamed(*set);
    ASSERT_TRUE(outcome.report);
    EXPECT_TRUE(outcome.report->period.spansYear);
}

TEST(IaqReport, SetsWithoutPmValuesAreRefused) {
    table::testing::RecordSetSpec counter = IaqSpec();
    counter.sensorName = "Counter 5000";
    table::testing::RecordSetSpec noPm10 = IaqSpec();
    noPm10.particleTypes = {"0.3", "0.5", "1.0", "2.5", "5.0"};
    table::testing::RecordSetSpec pm2_5Smallest = IaqSpec();
    pm2_5Smallest.particleTypes = {"2.5", "5.0", "10"};
    struct Case {
        table::testing::RecordSetSpec spec;
        IaqRequest request;
        IaqRefusal refusal;
        std::string said;
    };
    const Case cases[] = {
        {counter, {}, IaqRefusal::NotIaq, "\"Counter 5000\" is not an IAQ instrument"},
        {noPm10, {}, IaqRefusal::NoPmChannels, "channels are 0.3, 0.5, 1.0, 2.5, 5.0 µm"},
        {pm2_5Smallest, {}, IaqRefusal::NoPmChannels, "above the smallest"},
        {IaqSpec(), {{9}}, IaqRefusal::NoRecords, "no records at the chosen locations"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        table::testing::SampleSpec sample;
        sample.counts = LevelCounts(100);
        sample.counts.resize(c.spec.particleTypes.size());
        sample.analogs = {};
        auto set = table::testing::MakeRecordSet(c.spec, {sample});
        const IaqOutcome outcome = ComputeNamed(*set, c.request);
        EXPECT_FALSE(outcome.report);
        EXPECT_EQ(outcome.refusal, c.refusal);
        EXPECT_THAT(outcome.message, HasSubstr(c.said));
    }
}

} // namespace
} // namespace kestrix::iaq::testing
