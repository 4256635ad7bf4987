#include "ArchiveFixture.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/archiveEvents.h"
#include "kestrix/base/dateTime.h"

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

std::unique_ptr<data::clsDataRecordSet> MakeDownload(const std::string& model, std::int32_t serial,
                                                     std::int32_t count, std::int32_t firstMinute) {
    auto set = std::make_unique<data::clsDataRecordSet>();
    std::string flowUnits = "LPM";
    EXPECT_TRUE(set->Init(model, serial, 2.83F, flowUnits, 1.65F, count, "s", {"0.3", "0.5", "5.0"},
                          {"TEMP", "RH", "DPRS"}, {"C", "%", "Pa"}, {true, false, false},
                          {3000, 0, 0}));
    for (std::int32_t row = 0; row < count; ++row) {
        // The values follow the minute, as an instrument's record of that minute would.
        const std::int32_t sample = firstMinute + row;
        data::clsDataRecord record;
        record.SetTimeStamp(base::SecondsToDate(kFirstSecond + 60 * sample));
        record.SetLocationID(1 + sample % 3);
        record.SetSampleTimeData(60, static_cast<std::uint8_t>(sample % 5 == 0 ? 0x02 : 0));
        record.SetPartChanCount(3);
        record.SetPartChanData(0, 5000 + sample, static_cast<std::uint8_t>(sample % 2 ? 0x10 : 0),
                               true);
        record.SetPartChanData(1, 800 + sample, 0, sample % 7 != 0);
        record.SetPartChanData(2, sample % 4, 0, true);
        record.SetAnalogChanCount(3);
        record.SetAnalogChanData(0, 21.5 + 0.1 * sample, 0, true);
        record.SetAnalogChanData(1, 45.25F, 0x01, true);
        record.SetAnalogChanData(2,
                                 sample % 9 == 0 ? std::numeric_limits<double>::quiet_NaN() : -3.0,
                                 0, sample % 9 != 0);
        set->RecordCopy(row, &record);
    }
    set->SetLocationNames({"", "Entrance", "Clean room", "Gowning"});
    return set;
}

namespace {

// Events hash without the full name again, the chain linked anew, as the first version kept them.
void RehashWithoutFullNames(ArchiveDatabase& database) {
    std::string previous;
    for (EventEntry& entry : ReadEvents(database)) {
        ArchiveEvent& event = entry.event;
        event.fullName.clear();
        event.previousHash = previous;
        event.hash = EventHash(event);
        database.Run("UPDATE events SET previous_hash = ?, hash = ? WHERE id = ?",
                     {QString::fromStdString(previous), QString::fromStdString(event.hash),
                      static_cast<qlonglong>(event.id)});
        previous = event.hash;
    }
    if (database.GetEngine() == Engine::kPostgres) {
        database.Run("DROP TRIGGER events_identity ON events");
        database.Run("DROP FUNCTION kestrix_event_identity");
    }
    database.Run("ALTER TABLE events DROP COLUMN full_name");
}

} // namespace

void DowngradeToFirstVersion(ArchiveDatabase& database) {
    RehashWithoutFullNames(database);
    for (const char* statement :
         {"DROP TABLE chain_head",
          "CREATE TABLE records_first AS SELECT instrument_id, time_stamp, download_id, "
          "location, sample_time, sample_status, channels FROM records",
          "DROP TABLE records", "ALTER TABLE records_first RENAME TO records",
          "ALTER TABLE downloads DROP COLUMN collisions",
          "UPDATE archive_schema SET version = 1"}) {
        database.Run(statement);
    }
}

} // namespace kestrix::archive
