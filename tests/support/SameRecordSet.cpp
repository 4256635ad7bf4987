#include "support/SameRecordSet.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace test_support {

using kestrix::data::clsDataRecord;
using kestrix::data::clsDataRecordSet;

void ExpectSameValue(double expected, double actual, const std::string& where) {
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << where;
        return;
    }
    EXPECT_EQ(expected, actual) << where;
    EXPECT_EQ(std::signbit(expected), std::signbit(actual)) << where;
}

void ExpectSameRecords(clsDataRecordSet& expected, clsDataRecordSet& actual) {
    ASSERT_EQ(expected.RecordCount(), actual.RecordCount());
    for (std::int32_t row = 0; row < expected.RecordCount(); ++row) {
        const clsDataRecord want = *expected.Record(row);
        const clsDataRecord& got = *actual.Record(row);
        const std::string where = "record " + std::to_string(row);
        EXPECT_EQ(want.GetTimeStamp(), got.GetTimeStamp()) << where;
        EXPECT_EQ(want.GetLocationID(), got.GetLocationID()) << where;
        EXPECT_EQ(want.GetSampleTimeValue(), got.GetSampleTimeValue()) << where;
        EXPECT_EQ(want.GetSampleTimeStatus(), got.GetSampleTimeStatus()) << where;
        ASSERT_EQ(want.GetPartChanCount(), got.GetPartChanCount()) << where;
        for (std::int16_t channel = 0; channel < want.GetPartChanCount(); ++channel) {
            EXPECT_EQ(want.GetPartChanValue(channel, true), got.GetPartChanValue(channel, true));
            EXPECT_EQ(want.GetPartChanStatus(channel), got.GetPartChanStatus(channel));
            EXPECT_EQ(want.GetPartChanEnable(channel), got.GetPartChanEnable(channel));
        }
        ASSERT_EQ(want.GetAnalogChanCount(), got.GetAnalogChanCount()) << where;
        for (std::int16_t channel = 0; channel < want.GetAnalogChanCount(); ++channel) {
            const std::string at = where + " analog " + std::to_string(channel);
            ExpectSameValue(want.GetAnalogChanValue(channel), got.GetAnalogChanValue(channel), at);
            EXPECT_EQ(want.GetAnalogChanStatus(channel), got.GetAnalogChanStatus(channel)) << at;
            EXPECT_EQ(want.GetAnalogChanEnable(channel), got.GetAnalogChanEnable(channel)) << at;
        }
    }
}

void ExpectSameRecordSet(clsDataRecordSet& expected, clsDataRecordSet& actual) {
    EXPECT_EQ(expected.GetSensorName(), actual.GetSensorName());
    EXPECT_EQ(expected.GetSensorID(), actual.GetSensorID());
    EXPECT_EQ(expected.GetSensorFlowRate(), actual.GetSensorFlowRate());
    EXPECT_EQ(expected.GetSensorFlowRateUnits(), actual.GetSensorFlowRateUnits());
    EXPECT_EQ(expected.GetParticleDensity(), actual.GetParticleDensity());
    EXPECT_NEAR(expected.GetDownloadTime(), actual.GetDownloadTime(), 0.0005 / 86400.0);
    EXPECT_EQ(expected.GetSampleTimeUnits(), actual.GetSampleTimeUnits());
    EXPECT_EQ(expected.HasLocationNames(), actual.HasLocationNames());
    EXPECT_EQ(expected.GetLocationNames(), actual.GetLocationNames());
    ASSERT_EQ(expected.GetPartChanCount(), actual.GetPartChanCount());
    for (std::int16_t channel = 0; channel < expected.GetPartChanCount(); ++channel) {
        EXPECT_EQ(expected.GetPartChanType(channel), actual.GetPartChanType(channel));
        EXPECT_EQ(expected.GetPartChanUnits(channel), actual.GetPartChanUnits(channel));
        EXPECT_EQ(expected.GetPartChanAlarm(channel), actual.GetPartChanAlarm(channel));
        EXPECT_EQ(expected.GetPartChanHighThreshold(channel),
                  actual.GetPartChanHighThreshold(channel));
    }
    ASSERT_EQ(expected.GetAnalogChanCount(), actual.GetAnalogChanCount());
    for (std::int16_t channel = 0; channel < expected.GetAnalogChanCount(); ++channel) {
        EXPECT_EQ(expected.GetAnalogChanType(channel), actual.GetAnalogChanType(channel));
        EXPECT_EQ(expected.GetAnalogChanUnits(channel), actual.GetAnalogChanUnits(channel));
    }
    ExpectSameRecords(expected, actual);
}

} // namespace test_support
