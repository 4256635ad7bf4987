#include "kestrix/data/clsDataRecordSet.h"

#include "kestrix/data/DataIndexError.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace kestrix {
namespace {

std::vector<std::string> SizeTags(std::size_t count) {
    std::vector<std::string> tags;
    for (std::size_t channel = 0; channel < count; ++channel) {
        tags.push_back(std::to_string(channel + 1) + ".0");
    }
    return tags;
}

// The arguments of one Init call, defaulting to a valid small download.
struct InitArguments {
    std::string sensorName = "Sensor 3";
    std::int32_t sensorId = 123456;
    float flowRate = 0.1F;
    std::string flowRateUnits = "CFM";
    float particleDensity = 1.5F;
    std::int32_t recordCount = 5;
    std::string sampleTimeUnits = "s";
    std::vector<std::string> particleTypes{"0.3", "0.5", "1.0"};
    std::vector<std::string> analogTypes{"TEMP", "RH"};
    std::vector<std::string> analogUnits{"C", "%"};
    std::vector<bool> alarms{true, false, true};
    std::vector<std::int32_t> highThresholds{1000, 2000, 3000};

    bool ApplyTo(data::clsDataRecordSet& set) {
        return set.Init(sensorName, sensorId, flowRate, flowRateUnits, particleDensity, recordCount,
                        sampleTimeUnits, particleTypes, analogTypes, analogUnits, alarms,
                        highThresholds);
    }
};

InitArguments ChannelsOf(std::size_t particles, std::size_t analogs, std::int32_t records) {
    InitArguments arguments;
    arguments.recordCount = records;
    arguments.particleTypes = SizeTags(particles);
    arguments.analogTypes.assign(analogs, "TEMP");
    arguments.analogUnits.assign(analogs, "C");
    arguments.alarms.assign(particles, false);
    arguments.highThresholds.assign(particles, 0);
    return arguments;
}

// A record whose every field depends on the row so rows cannot be confused.
data::clsDataRecord MakeRow(std::int32_t row, std::int16_t particles, std::int16_t analogs) {
    data::clsDataRecord record;
    record.SetTimeStamp(45000.0 + row / 1440.0);
    record.SetLocationID(row % 1000);
    record.SetSampleTimeData(60 + row, static_cast<std::uint8_t>(row & 0x4A));
    record.SetPartChanCount(particles);
    for (std::int16_t channel = 0; channel < particles; ++channel) {
        const std::int32_t count = (particles - channel) * 1000 + row;
        record.SetPartChanData(channel, count, static_cast<std::uint8_t>(channel + row),
                               (channel + row) % 3 != 0);
    }
    record.SetAnalogChanCount(analogs);
    for (std::int16_t channel = 0; channel < analogs; ++channel) {
        record.SetAnalogChanData(channel, row * 0.25 - channel * 1.125,
                                 static_cast<std::uint8_t>(channel), (channel + row) % 2 == 0);
    }
    return record;
}

void ExpectSameRecord(const data::clsDataRecord& actual, const data::clsDataRecord& expected) {
    EXPECT_EQ(actual.GetTimeStamp(), expected.GetTimeStamp());
    EXPECT_EQ(actual.GetLocationID(), expected.GetLocationID());
    EXPECT_EQ(actual.GetSampleTimeValue(), expected.GetSampleTimeValue());
    EXPECT_EQ(actual.GetSampleTimeStatus(), expected.GetSampleTimeStatus());
    ASSERT_EQ(actual.GetPartChanCount(), expected.GetPartChanCount());
    for (std::int16_t channel = 0; channel < expected.GetPartChanCount(); ++channel) {
        EXPECT_EQ(actual.GetPartChanValue(channel, true), expected.GetPartChanValue(channel, true));
        EXPECT_EQ(actual.GetPartChanStatus(channel), expected.GetPartChanStatus(channel));
        EXPECT_EQ(actual.GetPartChanEnable(channel), expected.GetPartChanEnable(channel));
    }
    ASSERT_EQ(actual.GetAnalogChanCount(), expected.GetAnalogChanCount());
    for (std::int16_t channel = 0; channel < expected.GetAnalogChanCount(); ++channel) {
        EXPECT_EQ(actual.GetAnalogChanValue(channel), expected.GetAnalogChanValue(channel));
        EXPECT_EQ(actual.GetAnalogChanStatus(channel), expected.GetAnalogChanStatus(channel));
        EXPECT_EQ(actual.GetAnalogChanEnable(channel), expected.GetAnalogChanEnable(channel));
    }
}

TEST(RecordSetFresh, IsEmptyWithDefaults) {
    const data::clsDataRecordSet set;
    EXPECT_EQ(set.GetSensorName(), "");
    EXPECT_EQ(set.GetSensorID(), 0);
    EXPECT_EQ(set.GetSensorFlowRate(), 1.0F);
    EXPECT_EQ(set.GetSensorFlowRateUnits(), "CFM");
    EXPECT_EQ(set.GetParticleDensity(), 0.0F);
    EXPECT_EQ(set.GetSampleTimeUnits(), "");
    EXPECT_EQ(set.RecordCount(), 0);
    EXPECT_EQ(set.RecordIndex(), -1);
    EXPECT_FALSE(set.RecordIndexIsValid());
    EXPECT_EQ(set.GetPartChanCount(), 0);
    EXPECT_EQ(set.GetAnalogChanCount(), 0);
    EXPECT_FALSE(set.HasLocationNames());
}

TEST(RecordSetInit, StoresIdentityAndChannels) {
    data::clsDataRecordSet set;
    const base::DateTime before = base::CurrentLocalDateTime();
    InitArguments arguments;
    ASSERT_TRUE(arguments.ApplyTo(set));
    EXPECT_GE(set.GetDownloadTime(), before);
    EXPECT_LE(set.GetDownloadTime(), base::CurrentLocalDateTime());
    EXPECT_EQ(set.GetSensorName(), "Sensor 3");
    EXPECT_EQ(set.GetSensorID(), 123456);
    EXPECT_EQ(set.GetSensorFlowRate(), 0.1F);
    EXPECT_EQ(set.GetParticleDensity(), 1.5F);
    EXPECT_EQ(set.GetSampleTimeUnits(), "s");
    EXPECT_EQ(set.RecordCount(), 5);
    ASSERT_EQ(set.GetPartChanCount(), 3);
    EXPECT_EQ(set.GetPartChanType(1), "0.5");
    EXPECT_EQ(set.GetPartChanUnits(2), "#");
    EXPECT_TRUE(set.GetPartChanAlarm(2));
    EXPECT_FALSE(set.GetPartChanAlarm(1));
    EXPECT_EQ(set.GetPartChanHighThreshold(2), 3000);
    ASSERT_EQ(set.GetAnalogChanCount(), 2);
    EXPECT_EQ(set.GetAnalogChanType(1), "RH");
    EXPECT_EQ(set.GetAnalogChanUnits(1), "%");
}

TEST(RecordSetInit, OutOfRangeChannelsGiveNeutralValues) {
    data::clsDataRecordSet set;
    InitArguments arguments;
    ASSERT_TRUE(arguments.ApplyTo(set));
    EXPECT_FALSE(set.GetPartChanAlarm(3));
    EXPECT_EQ(set.GetPartChanHighThreshold(-1), 0);
    EXPECT_EQ(set.GetPartChanType(3), "");
    EXPECT_EQ(set.GetPartChanUnits(-1), "");
    EXPECT_EQ(set.GetAnalogChanType(2), "");
    EXPECT_EQ(set.GetAnalogChanUnits(-1), "");
}

TEST(RecordSetInit, EmptyFlowRateUnitsBecomeCfmForTheCallerToo) {
    data::clsDataRecordSet set;
    InitArguments arguments;
    arguments.flowRateUnits.clear();
    ASSERT_TRUE(arguments.ApplyTo(set));
    EXPECT_EQ(arguments.flowRateUnits, "CFM");
    EXPECT_EQ(set.GetSensorFlowRateUnits(), "CFM");
}

class RecordSetInitRejects : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InitArguments{}.ApplyTo(set));
        const data::clsDataRecord row = MakeRow(4, 3, 2);
        ASSERT_TRUE(set.RecordCopy(4, &row));
    }

    void ExpectUnchanged() {
        EXPECT_EQ(set.RecordCount(), 5);
        EXPECT_EQ(set.GetSensorName(), "Sensor 3");
        EXPECT_EQ(set.GetPartChanCount(), 3);
        ExpectSameRecord(*set.Record(4), MakeRow(4, 3, 2));
    }

    data::clsDataRecordSet set;
};

TEST_F(RecordSetInitRejects, ANonPositiveFlowRate) {
    for (const float flowRate : {0.0F, -1.0F, std::numeric_limits<float>::quiet_NaN()}) {
        InitArguments arguments;
        arguments.sensorName = "other";
        arguments.flowRate = flowRate;
        EXPECT_FALSE(arguments.ApplyTo(set));
    }
    ExpectUnchanged();
}

TEST_F(RecordSetInitRejects, ANegativeRecordCount) {
    InitArguments arguments;
    arguments.recordCount = -1;
    EXPECT_FALSE(arguments.ApplyTo(set));
    ExpectUnchanged();
}

TEST_F(RecordSetInitRejects, EmptySampleTimeUnits) {
    InitArguments arguments;
    arguments.sampleTimeUnits.clear();
    arguments.flowRateUnits.clear();
    EXPECT_FALSE(arguments.ApplyTo(set));
    EXPECT_EQ(arguments.flowRateUnits, "");
    ExpectUnchanged();
}

TEST_F(RecordSetInitRejects, MoreAnalogTypesThanUnits) {
    InitArguments arguments;
    arguments.analogTypes = {"TEMP", "RH", "AIRV"};
    arguments.analogUnits = {"C", "%"};
    EXPECT_FALSE(arguments.ApplyTo(set));
    ExpectUnchanged();
}

TEST_F(RecordSetInitRejects, MoreChannelsThanARecordCanNumber) {
    InitArguments arguments = ChannelsOf(32768, 0, 1);
    EXPECT_FALSE(arguments.ApplyTo(set));
    ExpectUnchanged();
}

TEST(RecordSetInitAnalogLists, EmptyListMatchesOneElementList) {
    data::clsDataRecordSet set;
    InitArguments unitWithoutType;
    unitWithoutType.analogTypes = {};
    unitWithoutType.analogUnits = {"C"};
    ASSERT_TRUE(unitWithoutType.ApplyTo(set));
    EXPECT_EQ(set.GetAnalogChanCount(), 0);

    InitArguments typeWithoutUnit;
    typeWithoutUnit.analogTypes = {"TEMP"};
    typeWithoutUnit.analogUnits = {};
    ASSERT_TRUE(typeWithoutUnit.ApplyTo(set));
    ASSERT_EQ(set.GetAnalogChanCount(), 1);
    EXPECT_EQ(set.GetAnalogChanType(0), "TEMP");
    EXPECT_EQ(set.GetAnalogChanUnits(0), "");
}

TEST(RecordSetInitAlarmLists, ShortListsLeaveTheRestOff) {
    data::clsDataRecordSet set;
    InitArguments arguments;
    arguments.alarms = {true};
    arguments.highThresholds = {};
    ASSERT_TRUE(arguments.ApplyTo(set));
    ASSERT_EQ(set.GetPartChanCount(), 3);
    EXPECT_TRUE(set.GetPartChanAlarm(0));
    EXPECT_FALSE(set.GetPartChanAlarm(1));
    EXPECT_FALSE(set.GetPartChanAlarm(2));
    for (std::int16_t channel = 0; channel < 3; ++channel) {
        EXPECT_EQ(set.GetPartChanHighThreshold(channel), 0);
        EXPECT_EQ(set.GetPartChanType(channel), arguments.particleTypes[channel]);
    }
}

TEST(RecordSetInitWithoutRecords, KeepsChannelsAndEarlierSampleTimeUnits) {
    data::clsDataRecordSet set;
    InitArguments first;
    first.sampleTimeUnits = "min";
    ASSERT_TRUE(first.ApplyTo(set));
    InitArguments empty;
    empty.recordCount = 0;
    empty.sampleTimeUnits = "hour";
    ASSERT_TRUE(empty.ApplyTo(set));
    EXPECT_EQ(set.GetSampleTimeUnits(), "min");
    EXPECT_EQ(set.RecordCount(), 0);
    EXPECT_EQ(set.RecordIndex(), -1);
    EXPECT_EQ(set.GetPartChanCount(), 3);
    EXPECT_EQ(set.GetPartChanUnits(0), "#");
}

TEST(RecordSetInitWithoutRecords, EmptyListsRemoveChannels) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(InitArguments{}.ApplyTo(set));
    InitArguments bare = ChannelsOf(0, 0, 2);
    ASSERT_TRUE(bare.ApplyTo(set));
    EXPECT_EQ(set.GetPartChanCount(), 0);
    EXPECT_EQ(set.GetAnalogChanCount(), 0);
    ASSERT_NE(set.Record(1), nullptr);
    EXPECT_EQ(set.Record(1)->GetPartChanCount(), 0);
    EXPECT_EQ(set.Record(1)->GetAnalogChanCount(), 0);
}

TEST(RecordSetNavigation, WalksFiveRecords) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(InitArguments{}.ApplyTo(set));
    EXPECT_EQ(set.RecordIndex(), 0);
    std::vector<std::int32_t> visited;
    for (int step = 0; step < 5; ++step) {
        set.RecordIndexNext();
        visited.push_back(set.RecordIndex());
    }
    EXPECT_EQ(visited, (std::vector<std::int32_t>{1, 2, 3, 4, -1}));
    EXPECT_FALSE(set.RecordIndexIsValid());
    set.RecordIndexNext();
    EXPECT_EQ(set.RecordIndex(), -1);
    set.RecordIndexFirst();
    set.RecordIndexPrev();
    EXPECT_EQ(set.RecordIndex(), -1);
    set.RecordIndexLast();
    EXPECT_EQ(set.RecordIndex(), 4);
    EXPECT_TRUE(set.RecordIndexIsValid());
    set.RecordIndexPrev();
    EXPECT_EQ(set.RecordIndex(), 3);
}

TEST(RecordSetNavigation, EmptySetStaysOffRecords) {
    data::clsDataRecordSet set;
    InitArguments arguments;
    arguments.recordCount = 0;
    ASSERT_TRUE(arguments.ApplyTo(set));
    set.RecordIndexFirst();
    EXPECT_EQ(set.RecordIndex(), -1);
    set.RecordIndexLast();
    EXPECT_EQ(set.RecordIndex(), -1);
    set.RecordIndexPrev();
    EXPECT_EQ(set.RecordIndex(), -1);
    EXPECT_EQ(set.RecordCount(), 0);
    EXPECT_EQ(set.Record(0), nullptr);
}

TEST(RecordSetLocationNames, FallBackToNumberedNames) {
    data::clsDataRecordSet set;
    EXPECT_EQ(set.GetLocationName(12), "LOC012");
    EXPECT_EQ(set.GetLocationName(7), "LOC007");
    EXPECT_EQ(set.GetLocationName(1234), "LOC1234");
    EXPECT_EQ(set.GetLocationName(-1), "LOC-001");
    EXPECT_EQ(set.GetLocationName(std::numeric_limits<std::int32_t>::min()), "LOC-2147483648");
}

TEST(RecordSetLocationNames, StoreTrimmedNames) {
    data::clsDataRecordSet set;
    std::vector<std::string> names(13);
    names[3] = "  Clean room 3 ";
    names[12] = "   ";
    set.SetLocationNames(names);
    EXPECT_TRUE(set.HasLocationNames());
    EXPECT_EQ(set.GetLocationName(3), "Clean room 3");
    EXPECT_EQ(set.GetLocationName(12), "LOC012");
    EXPECT_EQ(set.GetLocationName(13), "LOC013");
    EXPECT_EQ(set.GetLocationName(-1), "LOC-001");
}

TEST(RecordSetLocationNames, SurviveInitUntilCleared) {
    data::clsDataRecordSet set;
    set.SetLocationNames({"Lobby"});
    ASSERT_TRUE(InitArguments{}.ApplyTo(set));
    EXPECT_EQ(set.GetLocationName(0), "Lobby");
    set.ClearLocationNames();
    EXPECT_FALSE(set.HasLocationNames());
    EXPECT_EQ(set.GetLocationName(0), "LOC000");
}

TEST(RecordSetLocationNames, EmptyListLeavesNoNames) {
    data::clsDataRecordSet set;
    set.SetLocationNames({"Lobby"});
    set.SetLocationNames({});
    EXPECT_FALSE(set.HasLocationNames());
    EXPECT_EQ(set.GetLocationName(0), "LOC000");
}

TEST(RecordSetRows, RecordReusesOneRowObject) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(InitArguments{}.ApplyTo(set));
    for (std::int32_t row = 0; row < 5; ++row) {
        const data::clsDataRecord record = MakeRow(row, 3, 2);
        ASSERT_TRUE(set.RecordCopy(row, &record));
    }
    const data::clsDataRecord* second = set.Record(2);
    const data::clsDataRecord* third = set.Record(3);
    EXPECT_EQ(second, third);
    ExpectSameRecord(*second, MakeRow(3, 3, 2));
}

TEST(RecordSetRows, OutOfRangeIndexGivesNoRecord) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(InitArguments{}.ApplyTo(set));
    EXPECT_EQ(set.Record(-1), nullptr);
    EXPECT_EQ(set.Record(5), nullptr);
    const data::clsDataRecord record = MakeRow(0, 3, 2);
    EXPECT_FALSE(set.RecordCopy(5, &record));
    EXPECT_FALSE(set.RecordCopy(-1, &record));
    EXPECT_FALSE(set.RecordCopy(0, nullptr));
}

TEST(RecordSetRows, NewRowsReadAsCleared) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(InitArguments{}.ApplyTo(set));
    const data::clsDataRecord* row = set.Record(1);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->GetLocationID(), 0);
    EXPECT_EQ(row->GetSampleTimeValue(), 0);
    ASSERT_EQ(row->GetPartChanCount(), 3);
    EXPECT_FALSE(row->GetPartChanEnable(0));
    ASSERT_EQ(row->GetAnalogChanCount(), 2);
    EXPECT_FALSE(row->GetAnalogChanEnable(1));
}

TEST(RecordSetRows, FullRecordsRoundTripAsCumulativeCounts) {
    data::clsDataRecordSet set;
    InitArguments arguments = ChannelsOf(16, 16, 300);
    ASSERT_TRUE(arguments.ApplyTo(set));
    for (std::int32_t row = 0; row < 300; ++row) {
        const data::clsDataRecord record = MakeRow(row, 16, 16);
        ASSERT_TRUE(set.RecordCopy(row, &record));
    }
    std::int32_t rows = 0;
    for (set.RecordIndexFirst(); set.RecordIndexIsValid(); set.RecordIndexNext()) {
        const data::clsDataRecord* record = set.Record(set.RecordIndex());
        ASSERT_NE(record, nullptr);
        ExpectSameRecord(*record, MakeRow(set.RecordIndex(), 16, 16));
        ++rows;
    }
    EXPECT_EQ(rows, 300);
}

TEST(RecordSetRows, ExtremeCountsRoundTrip) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(ChannelsOf(2, 1, 1).ApplyTo(set));
    data::clsDataRecord record;
    record.SetSampleTimeData(std::numeric_limits<std::int32_t>::max(), 0xFF);
    record.SetPartChanCount(2);
    record.SetPartChanData(0, std::numeric_limits<std::int32_t>::max(), 0, true);
    record.SetPartChanData(1, std::numeric_limits<std::int32_t>::min(), 0, true);
    record.SetAnalogChanCount(1);
    record.SetAnalogChanData(0, std::numeric_limits<double>::infinity(), 0, true);
    ASSERT_TRUE(set.RecordCopy(0, &record));
    ExpectSameRecord(*set.Record(0), record);
    EXPECT_EQ(set.Record(0)->GetPartChanValue(0, false), std::numeric_limits<std::int32_t>::max());
}

// The table reads one quantity across records without the row record: both must agree.
TEST(RecordSetRows, OneQuantityReadsAsTheRowRecordGivesIt) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(ChannelsOf(3, 2, 4).ApplyTo(set));
    for (std::int32_t row = 0; row < 3; ++row) {
        const data::clsDataRecord record = MakeRow(row, 3, 2);
        ASSERT_TRUE(set.RecordCopy(row, &record));
    }
    data::clsDataRecord extreme = MakeRow(3, 3, 2);
    extreme.SetPartChanData(0, std::numeric_limits<std::int32_t>::max(), 0, true);
    extreme.SetPartChanData(1, std::numeric_limits<std::int32_t>::min(), 0, true);
    ASSERT_TRUE(set.RecordCopy(3, &extreme));
    for (std::int32_t index = 0; index < 4; ++index) {
        const data::clsDataRecord record = *set.Record(index);
        for (std::int16_t channel = 0; channel < 3; ++channel) {
            for (const bool cumulative : {true, false}) {
                const data::ChannelSample sample = set.PartChanSample(index, channel, cumulative);
                EXPECT_EQ(sample.value, record.GetPartChanValue(channel, cumulative));
                EXPECT_EQ(sample.status, record.GetPartChanStatus(channel));
                EXPECT_EQ(sample.enable, record.GetPartChanEnable(channel));
            }
        }
        for (std::int16_t channel = 0; channel < 2; ++channel) {
            const data::ChannelSample sample = set.AnalogChanSample(index, channel);
            EXPECT_EQ(sample.value, record.GetAnalogChanValue(channel));
            EXPECT_EQ(sample.status, record.GetAnalogChanStatus(channel));
            EXPECT_EQ(sample.enable, record.GetAnalogChanEnable(channel));
        }
        EXPECT_EQ(set.SampleTimeSample(index).value, record.GetSampleTimeValue());
        EXPECT_EQ(set.SampleTimeSample(index).status, record.GetSampleTimeStatus());
        EXPECT_EQ(set.RecordLocationID(index), record.GetLocationID());
    }
    EXPECT_FALSE(set.PartChanSample(4, 0, true).enable);
    EXPECT_FALSE(set.AnalogChanSample(0, 2).enable);
}

TEST(RecordSetRows, RecordWithFewerChannelsLeavesTheOthers) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(InitArguments{}.ApplyTo(set));
    const data::clsDataRecord full = MakeRow(2, 3, 2);
    ASSERT_TRUE(set.RecordCopy(2, &full));
    const data::clsDataRecord partial = MakeRow(7, 1, 0);
    ASSERT_TRUE(set.RecordCopy(2, &partial));
    const data::clsDataRecord* row = set.Record(2);
    EXPECT_EQ(row->GetLocationID(), 7);
    EXPECT_EQ(row->GetPartChanValue(0, true), partial.GetPartChanValue(0, true));
    EXPECT_EQ(row->GetPartChanValue(1, true), full.GetPartChanValue(1, true));
    EXPECT_EQ(row->GetAnalogChanValue(1), full.GetAnalogChanValue(1));
}

TEST(RecordSetRows, TooManyChannelsStoreOnlyTheRowHeader) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(InitArguments{}.ApplyTo(set));
    const data::clsDataRecord record = MakeRow(9, 4, 2);
    EXPECT_THROW(set.RecordCopy(1, &record), data::DataIndexError);
    const data::clsDataRecord* row = set.Record(1);
    EXPECT_EQ(row->GetTimeStamp(), record.GetTimeStamp());
    EXPECT_EQ(row->GetLocationID(), record.GetLocationID());
    EXPECT_EQ(row->GetSampleTimeValue(), record.GetSampleTimeValue());
    for (std::int16_t channel = 0; channel < 3; ++channel) {
        EXPECT_EQ(row->GetPartChanValue(channel, true), 0);
    }
    EXPECT_EQ(row->GetAnalogChanValue(0), 0.0);
}

TEST(RecordSetRows, TooManyAnalogChannelsAfterTheParticlesAreStored) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(InitArguments{}.ApplyTo(set));
    const data::clsDataRecord record = MakeRow(9, 3, 3);
    EXPECT_THROW(set.RecordCopy(0, &record), data::DataIndexError);
    const data::clsDataRecord* row = set.Record(0);
    EXPECT_EQ(row->GetPartChanValue(2, true), record.GetPartChanValue(2, true));
    EXPECT_EQ(row->GetAnalogChanValue(1), 0.0);
}

TEST(RecordSetRows, ChannelsWithoutSetsAreIgnored) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(ChannelsOf(0, 0, 1).ApplyTo(set));
    const data::clsDataRecord record = MakeRow(0, 4, 4);
    EXPECT_TRUE(set.RecordCopy(0, &record));
    EXPECT_EQ(set.Record(0)->GetSampleTimeValue(), record.GetSampleTimeValue());
}

TEST(RecordSetRows, RowRecordFollowsANewChannelLayout) {
    data::clsDataRecordSet set;
    ASSERT_TRUE(ChannelsOf(16, 16, 1).ApplyTo(set));
    ASSERT_EQ(set.Record(0)->GetPartChanCount(), 16);
    ASSERT_TRUE(ChannelsOf(2, 1, 1).ApplyTo(set));
    const data::clsDataRecord* row = set.Record(0);
    EXPECT_EQ(row->GetPartChanCount(), 2);
    EXPECT_EQ(row->GetAnalogChanCount(), 1);
}

} // namespace
} // namespace kestrix
