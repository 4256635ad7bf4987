#include "kestrix/data/clsDataRecord.h"

#include <gtest/gtest.h>
#include <limits>

namespace kestrix {
namespace {

constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
constexpr auto kMin = std::numeric_limits<std::int32_t>::min();

data::clsDataRecord RecordWithCounts(std::initializer_list<std::int32_t> counts) {
    data::clsDataRecord record;
    record.SetPartChanCount(static_cast<std::int16_t>(counts.size()));
    std::int16_t channel = 0;
    for (const std::int32_t count : counts) {
        record.SetPartChanData(channel++, count, 0, true);
    }
    return record;
}

TEST(DataRecordFresh, HasNeutralValues) {
    const data::clsDataRecord record;
    EXPECT_EQ(record.GetLocationID(), -1);
    EXPECT_EQ(record.GetTimeStamp(), 0.0);
    EXPECT_EQ(record.GetSampleTimeValue(), 0);
    EXPECT_EQ(record.GetSampleTimeStatus(), 0);
    EXPECT_EQ(record.GetPartChanCount(), 0);
    EXPECT_EQ(record.GetAnalogChanCount(), 0);
    EXPECT_TRUE(record.GetPartChanEnable(0));
    EXPECT_EQ(record.GetPartChanValue(0, false), 0);
    EXPECT_EQ(record.GetPartChanStatus(0), 0);
    EXPECT_TRUE(record.GetAnalogChanEnable(0));
    EXPECT_EQ(record.GetAnalogChanValue(0), 0.0);
}

TEST(DataRecordSampleTime, RefusesNegativeValues) {
    data::clsDataRecord record;
    EXPECT_TRUE(record.SetSampleTimeData(60, 0x08));
    EXPECT_FALSE(record.SetSampleTimeData(-1, 0x02));
    EXPECT_EQ(record.GetSampleTimeValue(), 60);
    EXPECT_EQ(record.GetSampleTimeStatus(), 0x08);
    EXPECT_TRUE(record.SetSampleTimeData(0, 0));
    EXPECT_EQ(record.GetSampleTimeValue(), 0);
}

TEST(DataRecordParticles, DifferentialSubtractsTheNextLargerSize) {
    const data::clsDataRecord record = RecordWithCounts({100, 40, 10});
    EXPECT_EQ(record.GetPartChanValue(0, false), 60);
    EXPECT_EQ(record.GetPartChanValue(1, false), 30);
    EXPECT_EQ(record.GetPartChanValue(2, false), 10);
    EXPECT_EQ(record.GetPartChanValue(0, true), 100);
    EXPECT_EQ(record.GetPartChanValue(1, true), 40);
    EXPECT_EQ(record.GetPartChanValue(2, true), 10);
}

TEST(DataRecordParticles, DifferentialOutOfRangeIsZero) {
    const data::clsDataRecord record = RecordWithCounts({100, 40});
    EXPECT_EQ(record.GetPartChanValue(-1, false), 0);
    EXPECT_EQ(record.GetPartChanValue(2, false), 0);
    EXPECT_EQ(record.GetPartChanValue(2, true), 0);
}

TEST(DataRecordParticles, DifferentialSaturatesInsteadOfOverflowing) {
    const data::clsDataRecord high = RecordWithCounts({kMax, -1, kMin, 1});
    EXPECT_EQ(high.GetPartChanValue(0, false), kMax);
    EXPECT_EQ(high.GetPartChanValue(1, false), kMax);
    EXPECT_EQ(high.GetPartChanValue(2, false), kMin);
    const data::clsDataRecord exact = RecordWithCounts({kMax - 1, -1});
    EXPECT_EQ(exact.GetPartChanValue(0, false), kMax);
}

TEST(DataRecordParticles, SetCountRecreatesClearedChannels) {
    data::clsDataRecord record = RecordWithCounts({5, 4, 3});
    record.SetPartChanData(1, 4, 0x10, true);
    record.SetPartChanCount(3);
    for (std::int16_t channel = 0; channel < 3; ++channel) {
        EXPECT_EQ(record.GetPartChanValue(channel, true), 0);
        EXPECT_EQ(record.GetPartChanStatus(channel), 0);
        EXPECT_FALSE(record.GetPartChanEnable(channel));
    }
}

TEST(DataRecordParticles, NonPositiveCountRemovesChannels) {
    data::clsDataRecord record;
    record.SetPartChanCount(0);
    EXPECT_EQ(record.GetPartChanCount(), 0);
    record = RecordWithCounts({5, 4});
    record.SetPartChanCount(-3);
    EXPECT_EQ(record.GetPartChanCount(), 0);
    EXPECT_TRUE(record.GetPartChanEnable(0));
    EXPECT_FALSE(record.SetPartChanData(0, 1, 0, true));
}

TEST(DataRecordParticles, SetDataOutsideTheChannelsChangesNothing) {
    data::clsDataRecord record = RecordWithCounts({7, 6});
    EXPECT_FALSE(record.SetPartChanData(2, 1, 1, false));
    EXPECT_FALSE(record.SetPartChanData(-1, 1, 1, false));
    EXPECT_EQ(record.GetPartChanValue(0, true), 7);
    EXPECT_EQ(record.GetPartChanValue(1, true), 6);
    EXPECT_TRUE(record.SetPartChanData(1, 9, 0x11, false));
    EXPECT_EQ(record.GetPartChanValue(1, true), 9);
    EXPECT_EQ(record.GetPartChanStatus(1), 0x11);
    EXPECT_FALSE(record.GetPartChanEnable(1));
}

TEST(DataRecordParticles, HoldsTheLargestChannelCount) {
    data::clsDataRecord record;
    record.SetPartChanCount(std::numeric_limits<std::int16_t>::max());
    EXPECT_EQ(record.GetPartChanCount(), std::numeric_limits<std::int16_t>::max());
    EXPECT_TRUE(record.SetPartChanData(32766, 3, 0, true));
    EXPECT_EQ(record.GetPartChanValue(32766, false), 3);
}

TEST(DataRecordAnalogs, StoreValuesPerChannel) {
    data::clsDataRecord record;
    record.SetAnalogChanCount(2);
    EXPECT_EQ(record.GetAnalogChanCount(), 2);
    EXPECT_FALSE(record.GetAnalogChanEnable(0));
    EXPECT_TRUE(record.SetAnalogChanData(1, -12.75, 0x02, true));
    EXPECT_FALSE(record.SetAnalogChanData(2, 1.0, 0, true));
    EXPECT_EQ(record.GetAnalogChanValue(1), -12.75);
    EXPECT_EQ(record.GetAnalogChanStatus(1), 0x02);
    EXPECT_TRUE(record.GetAnalogChanEnable(1));
    EXPECT_EQ(record.GetAnalogChanValue(0), 0.0);
}

TEST(DataRecordAnalogs, OutOfRangeGivesNeutralValues) {
    data::clsDataRecord record;
    record.SetAnalogChanCount(1);
    record.SetAnalogChanData(0, 5.5, 0x08, false);
    EXPECT_EQ(record.GetAnalogChanValue(1), 0.0);
    EXPECT_EQ(record.GetAnalogChanStatus(-1), 0);
    EXPECT_TRUE(record.GetAnalogChanEnable(1));
    record.SetAnalogChanCount(0);
    EXPECT_EQ(record.GetAnalogChanCount(), 0);
    EXPECT_EQ(record.GetAnalogChanValue(0), 0.0);
}

} // namespace
} // namespace kestrix
