#include "kestrix/archive/Archive.h"

#include "ArchiveFixture.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/archiveSchema.h"
#include "kestrix/archive/autoArchive.h"
#include "support/SameRecordSet.h"

#include <QFile>
#include <gmock/gmock.h>

namespace kestrix::archive {
namespace {

using ::testing::HasSubstr;

std::int64_t RecordsOf(Archive& archive, std::int32_t serial) {
    for (const InstrumentSummary& summary : archive.Instruments()) {
        if (summary.serial == serial) {
            return summary.records;
        }
    }
    return 0;
}

struct DownloadSpec {
    std::int32_t serial;
    std::int32_t count;
};

struct DedupCase {
    const char* name;
    DownloadSpec first;
    DownloadSpec second;
};

class ArchiveDedup : public ArchiveFixture {};

TEST_P(ArchiveDedup, ARecordIsKeptOncePerInstrumentAndTimeStamp) {
    const DedupCase cases[] = {
        {"the same memory twice", {1, 30}, {1, 30}},
        {"a memory grown by ten", {1, 30}, {1, 40}},
        {"two instruments with the same time stamps", {1, 30}, {2, 30}},
    };
    for (const DedupCase& c : cases) {
        SCOPED_TRACE(c.name);
        Archive archive(FreshArchive());
        auto first = MakeDownload("Model 9", c.first.serial, c.first.count);
        auto second = MakeDownload("Model 9", c.second.serial, c.second.count);
        EXPECT_EQ(archive.Store(*first, {kEventDownload, 150}).newRecords, c.first.count);
        const bool sameInstrument = c.first.serial == c.second.serial;
        const std::int32_t expectedNew =
            sameInstrument ? c.second.count - c.first.count : c.second.count;
        EXPECT_EQ(archive.Store(*second, {kEventDownload, 150}).newRecords, expectedNew);
        EXPECT_EQ(RecordsOf(archive, c.second.serial), c.second.count);
        EXPECT_EQ(RecordsOf(archive, c.first.serial),
                  sameInstrument ? c.second.count : c.first.count);
        EXPECT_EQ(archive.Events().size(), 2U);
        EXPECT_TRUE(archive.Verify().intact) << archive.Verify().problem;
    }
}

class ArchiveQueries : public ArchiveFixture {};

TEST_P(ArchiveQueries, ExportEqualsTheDownloadedRecordSetFieldByField) {
    Archive archive(settings_);
    auto older = MakeDownload("Model 9", 7, 50);
    auto newer = MakeDownload("Model 9", 7, 60);
    newer->SetDownloadTime(older->GetDownloadTime() + 1.5);
    archive.Store(*older, {kEventDownload, 150});
    archive.Store(*newer, {kEventDownload, 150});
    auto exported = archive.Query({7, "", std::nullopt, std::nullopt, {}}).recordSet;
    test_support::ExpectSameRecordSet(*newer, *exported);
}

TEST_P(ArchiveQueries, TimeRangeAndLocationsChooseRecordsInTimeOrder) {
    Archive archive(settings_);
    auto download = MakeDownload("Model 9", 7, 40);
    archive.Store(*download, {kEventDownload, 150});
    const base::DateTime from = download->Record(10)->GetTimeStamp();
    const base::DateTime to = download->Record(29)->GetTimeStamp();
    auto chosen = archive.Query({7, "Model 9", from, to, {1, 3}}).recordSet;
    std::int32_t expected = 0;
    for (std::int32_t row = 10; row <= 29; ++row) {
        const std::int32_t location = download->Record(row)->GetLocationID();
        expected += location == 1 || location == 3 ? 1 : 0;
    }
    ASSERT_EQ(chosen->RecordCount(), expected);
    base::DateTime previous = 0.0;
    for (std::int32_t row = 0; row < chosen->RecordCount(); ++row) {
        const data::clsDataRecord* record = chosen->Record(row);
        EXPECT_NE(record->GetLocationID(), 2);
        EXPECT_GT(record->GetTimeStamp(), previous);
        EXPECT_GE(record->GetTimeStamp(), from);
        EXPECT_LE(record->GetTimeStamp(), to);
        previous = record->GetTimeStamp();
    }
    EXPECT_THROW(archive.Query({8, "", std::nullopt, std::nullopt, {}}), ArchiveNoInstrument);
}

struct TamperCase {
    const char* name;
    const char* statement;
    std::int64_t damagedEvent;
};

class ArchiveAudit : public ArchiveFixture {};

TEST_P(ArchiveAudit, VerifyFindsTheFirstChangedOrDeletedEntry) {
    const TamperCase cases[] = {
        {"a changed count", "UPDATE downloads SET new_records = new_records - 1 WHERE id = 1", 1},
        {"a deleted record",
         "DELETE FROM records WHERE download_id = 2 AND time_stamp = (SELECT MAX(time_stamp) "
         "FROM records WHERE download_id = 2)",
         2},
        {"a changed record", "UPDATE records SET location = 9 WHERE download_id = 1", 1},
        {"a record moved to another instrument",
         "UPDATE records SET instrument_id = 2 WHERE download_id = 1 AND time_stamp = "
         "(SELECT MIN(time_stamp) FROM records)",
         1},
        {"a deleted event", "DELETE FROM events WHERE id = 2", 3},
        {"the newest event deleted", "DELETE FROM events WHERE id = 3", 3},
        {"a changed event", "UPDATE events SET user_name = 'someone' WHERE id = 3", 3},
        {"an instrument's serial number changed", "UPDATE instruments SET serial = 8", 1},
        {"an instrument added",
         "INSERT INTO instruments (model, serial, map_version, flow_rate, flow_rate_units, "
         "density) VALUES ('Model 9', 8, 150, 2.83, 'LPM', 1.65)",
         0},
    };
    for (const TamperCase& c : cases) {
        SCOPED_TRACE(c.name);
        Archive archive(FreshArchive());
        archive.Store(*MakeDownload("Model 9", 7, 20), {kEventDownload, 150});
        archive.Store(*MakeDownload("Model 9", 7, 30), {kEventDownload, 150});
        archive.Note({kEventArchiveExport, "{}", "Model 9", 7});
        ASSERT_TRUE(archive.Verify().intact);
        archive.Database().Run(c.statement);
        const VerifyResult result = archive.Verify();
        EXPECT_FALSE(result.intact);
        EXPECT_EQ(result.damagedEvent, c.damagedEvent) << result.problem;
    }
}

TEST_P(ArchiveAudit, ActivitiesAreNotedInTheChainWithTheirInstrument) {
    Archive(settings_).Store(*MakeDownload("Model 9", 7, 20), {kEventDownload, 150});
    EXPECT_EQ(NoteActivity(settings_, NameUploadNote("Model 9", 7, 12)), "");
    EXPECT_EQ(NoteActivity(settings_, DensityChangeNote("Model 4", 3, "2.500", "1.200")), "");

    Archive archive(settings_);
    const std::vector<EventEntry> events = archive.Events();
    ASSERT_EQ(events.size(), 3U);
    EXPECT_EQ(events[1].event.kind, "name upload");
    EXPECT_EQ(events[1].serial, 7);
    EXPECT_EQ(events[1].event.details, R"({"model":"Model 9","serial":7,"names":12})");
    // An instrument never downloaded is named by the details alone.
    EXPECT_EQ(events[2].event.kind, "density change");
    EXPECT_FALSE(events[2].event.instrumentId.has_value());
    EXPECT_THAT(events[2].event.details, HasSubstr(R"("model":"Model 4","serial":3)"));
    EXPECT_TRUE(archive.Verify().intact);
}

class ArchiveSchema : public ArchiveFixture {};

TEST_P(ArchiveSchema, AnArchiveOfTheFirstVersionIsBroughtForwardWithItsChain) {
    {
        Archive archive(settings_);
        archive.Store(*MakeDownload("Model 9", 7, 20), {kEventDownload, 150});
        archive.Store(*MakeDownload("Model 9", 7, 25), {kEventDownload, 150});
        DowngradeToFirstVersion(archive.Database());
    }
    Archive archive(settings_);
    EXPECT_EQ(ArchiveSchemaVersion(archive.Database()), kArchiveSchemaVersion);
    EXPECT_TRUE(archive.Verify().intact) << archive.Verify().problem;
    EXPECT_EQ(RecordsOf(archive, 7), 25);
    archive.Database().Run("DELETE FROM events WHERE id = 2");
    EXPECT_FALSE(archive.Verify().intact);
}

TEST_P(ArchiveSchema, AnArchiveOfANewerProgramIsRefused) {
    {
        Archive archive(settings_);
        archive.Database().Run("UPDATE archive_schema SET version = 99");
    }
    EXPECT_THROW(Archive archive(settings_), ArchiveError);
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveDedup,
                         ::testing::Values(TestEngine::kSqlite, TestEngine::kPostgres), EngineName);
INSTANTIATE_TEST_SUITE_P(Engines, ArchiveQueries,
                         ::testing::Values(TestEngine::kSqlite, TestEngine::kPostgres), EngineName);
INSTANTIATE_TEST_SUITE_P(Engines, ArchiveAudit,
                         ::testing::Values(TestEngine::kSqlite, TestEngine::kPostgres), EngineName);
INSTANTIATE_TEST_SUITE_P(Engines, ArchiveSchema,
                         ::testing::Values(TestEngine::kSqlite, TestEngine::kPostgres), EngineName);

TEST(AutoArchive, ADamagedArchiveFileIsToldAndNothingIsThrown) {
    QTemporaryDir folder;
    ArchiveSettings settings;
    settings.sqlitePath = folder.filePath("archive.sqlite").toStdString();
    QFile file(QString::fromStdString(settings.sqlitePath));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    auto download = MakeDownload("Model 9", 7, 5);
    const AutoArchiveOutcome outcome = ArchiveFinishedDownload(settings, *download, 150);
    EXPECT_FALSE(outcome.archived);
    EXPECT_THAT(outcome.message, HasSubstr("not archived"));
    EXPECT_EQ(download->RecordCount(), 5);
    EXPECT_THAT(NoteActivity(settings, ExportNote(*download, "table.csv")),
                HasSubstr("did not note the export"));
}

TEST(AutoArchive, ASwitchedOffArchiveIsLeftAlone) {
    QTemporaryDir folder;
    ArchiveSettings settings;
    settings.enabled = false;
    settings.sqlitePath = folder.filePath("archive.sqlite").toStdString();
    auto download = MakeDownload("Model 9", 7, 5);
    EXPECT_FALSE(ArchiveFinishedDownload(settings, *download, 150).archived);
    EXPECT_EQ(NoteActivity(settings, ExportNote(*download, "table.csv")), "");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(settings.sqlitePath)));
}

} // namespace
} // namespace kestrix::archive
