#include "ArchiveFixture.h"

#include "kestrix/shell/modUtils.h"

#include <bit>
#include <cmath>
#include <limits>

namespace kestrix::archive {

namespace {
constexpr std::int32_t kFirstSecond = 1'772'352'000;
}

std::string EngineName(const ::testing::TestParamInfo<TestEngine>& info) {
    return info.param == TestEngine::kSqlite ? "Sqlite" : "Postgres";
}

void ArchiveFixture::SetUp() {
    ASSERT_TRUE(folder_.isValid());
    if (GetParam() == TestEngine::kPostgres) {
        std::string why;
        server_ = test_support::PostgresServer::Shared(why);
        if (server_ == nullptr) {
            SKIP_OR_FAIL_WITHOUT_PEER("no PostgreSQL server: " + why);
        }
    }
    settings_ = FreshArchive();
}

ArchiveSettings ArchiveFixture::FreshArchive() {
    ArchiveSettings settings;
    settings.sqlitePath =
        folder_.filePath(QString("archive-%1.sqlite").arg(++archives_)).toStdString();
    if (server_ != nullptr) {
        settings.url = server_->NewDatabase();
    }
    return settings;
}

std::unique_ptr<clsDataRecordSet> MakeDownload(const std::string& model, std::int32_t serial,
                                               std::int32_t count, std::int32_t firstMinute) {
    auto set = std::make_unique<clsDataRecordSet>();
    std::string flowUnits = "LPM";
    EXPECT_TRUE(set->Init(model, serial, 2.83F, flowUnits, 1.65F, count, "s", {"0.3", "0.5", "5.0"},
                          {"TEMP", "RH", "DPRS"}, {"C", "%", "Pa"}, {true, false, false},
                          {3000, 0, 0}));
    for (std::int32_t row = 0; row < count; ++row) {
        clsDataRecord record;
        record.SetTimeStamp(modUtils::SecondsToDate(kFirstSecond + 60 * (firstMinute + row)));
        record.SetLocationID(1 + row % 3);
        record.SetSampleTimeData(60, static_cast<std::uint8_t>(row % 5 == 0 ? 0x02 : 0));
        record.SetPartChanCount(3);
        record.SetPartChanData(0, 5000 + row, static_cast<std::uint8_t>(row % 2 ? 0x10 : 0), true);
        record.SetPartChanData(1, 800 + row, 0, row % 7 != 0);
        record.SetPartChanData(2, row % 4, 0, true);
        record.SetAnalogChanCount(3);
        record.SetAnalogChanData(0, 21.5 + 0.1 * row, 0, true);
        record.SetAnalogChanData(1, 45.25F, 0x01, true);
        record.SetAnalogChanData(2, row % 9 == 0 ? std::numeric_limits<double>::quiet_NaN() : -3.0,
                                 0, row % 9 != 0);
        set->RecordCopy(row, &record);
    }
    set->SetLocationNames({"", "Entrance", "Clean room", "Gowning"});
    return set;
}

void ExpectSameRecordSets(clsDataRecordSet& expected, clsDataRecordSet& actual) {
    EXPECT_EQ(actual.GetSensorName(), expected.GetSensorName());
    EXPECT_EQ(actual.GetSensorID(), expected.GetSensorID());
    EXPECT_EQ(actual.GetSensorFlowRate(), expected.GetSensorFlowRate());
    EXPECT_EQ(actual.GetSensorFlowRateUnits(), expected.GetSensorFlowRateUnits());
    EXPECT_EQ(actual.GetParticleDensity(), expected.GetParticleDensity());
    EXPECT_EQ(actual.GetDownloadTime(), expected.GetDownloadTime());
    EXPECT_EQ(actual.GetSampleTimeUnits(), expected.GetSampleTimeUnits());
    EXPECT_EQ(actual.GetLocationNames(), expected.GetLocationNames());
    ASSERT_EQ(actual.GetPartChanCount(), expected.GetPartChanCount());
    for (std::int16_t c = 0; c < expected.GetPartChanCount(); ++c) {
        EXPECT_EQ(actual.GetPartChanType(c), expected.GetPartChanType(c));
        EXPECT_EQ(actual.GetPartChanAlarm(c), expected.GetPartChanAlarm(c));
        EXPECT_EQ(actual.GetPartChanHighThreshold(c), expected.GetPartChanHighThreshold(c));
    }
    ASSERT_EQ(actual.GetAnalogChanCount(), expected.GetAnalogChanCount());
    for (std::int16_t c = 0; c < expected.GetAnalogChanCount(); ++c) {
        EXPECT_EQ(actual.GetAnalogChanType(c), expected.GetAnalogChanType(c));
        EXPECT_EQ(actual.GetAnalogChanUnits(c), expected.GetAnalogChanUnits(c));
    }
    ASSERT_EQ(actual.RecordCount(), expected.RecordCount());
    for (std::int32_t row = 0; row < expected.RecordCount(); ++row) {
        const clsDataRecord want = *expected.Record(row);
        const clsDataRecord* got = actual.Record(row);
        SCOPED_TRACE("record " + std::to_string(row));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got->GetTimeStamp()),
                  std::bit_cast<std::uint64_t>(want.GetTimeStamp()));
        EXPECT_EQ(got->GetLocationID(), want.GetLocationID());
        EXPECT_EQ(got->GetSampleTimeValue(), want.GetSampleTimeValue());
        EXPECT_EQ(got->GetSampleTimeStatus(), want.GetSampleTimeStatus());
        for (std::int16_t c = 0; c < want.GetPartChanCount(); ++c) {
            EXPECT_EQ(got->GetPartChanValue(c, true), want.GetPartChanValue(c, true));
            EXPECT_EQ(got->GetPartChanStatus(c), want.GetPartChanStatus(c));
            EXPECT_EQ(got->GetPartChanEnable(c), want.GetPartChanEnable(c));
        }
        for (std::int16_t c = 0; c < want.GetAnalogChanCount(); ++c) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(got->GetAnalogChanValue(c)),
                      std::bit_cast<std::uint64_t>(want.GetAnalogChanValue(c)));
            EXPECT_EQ(got->GetAnalogChanStatus(c), want.GetAnalogChanStatus(c));
            EXPECT_EQ(got->GetAnalogChanEnable(c), want.GetAnalogChanEnable(c));
        }
    }
}

} // namespace kestrix::archive
