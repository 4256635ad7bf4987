#include "kestrix/archive/Archive.h"

#include "kestrix/archive/archiveSchema.h"

#include <QFileInfo>

namespace kestrix::archive {

namespace {

// An SQLite file that does not exist yet cannot be opened read-only: it is made empty.
Access OpeningAccess(const ArchiveSettings& settings, Access access) {
    const bool absentFile =
        settings.url.empty() && !QFileInfo::exists(QString::fromStdString(settings.sqlitePath));
    return absentFile ? Access::kWrite : access;
}

bool ReadsOlderSqlite(ArchiveDatabase& database) {
    return database.GetEngine() == Engine::kSqlite && database.GetAccess() == Access::kRead &&
           ArchiveSchemaVersion(database) < kArchiveSchemaVersion;
}

} // namespace

Archive::Archive(const ArchiveSettings& settings, Access access)
    : database_(std::make_unique<ArchiveDatabase>(settings, OpeningAccess(settings, access))) {
    if (ReadsOlderSqlite(*database_)) {
        copy_ = std::make_unique<PrivateCopy>(*database_);
        ArchiveSettings copied = settings;
        copied.sqlitePath = copy_->Path();
        database_ = std::make_unique<ArchiveDatabase>(copied, Access::kWrite, database_->Place());
    }
    MigrateArchive(*database_);
}

StoreResult Archive::Store(data::clsDataRecordSet& recordSet, const DownloadOrigin& origin) {
    return StoreDownload(*database_, recordSet, origin);
}

std::vector<InstrumentSummary> Archive::Instruments() {
    const ReadTransaction snapshot(*database_);
    return ListInstruments(*database_);
}

QueryResult Archive::Query(const RecordQuery& query) {
    const ReadTransaction snapshot(*database_);
    QueryResult result;
    result.recordSet = QueryRecords(*database_, query);
    result.head = ReadChainHead(*database_);
    result.recordSet->SetArchiveHead(FormatChainHead(result.head));
    return result;
}

void Archive::Note(const ActivityNote& note) {
    WriteTransaction transaction(*database_);
    ArchiveEvent event;
    event.kind = note.kind;
    event.details = note.details;
    QSqlQuery found = database_->Run("SELECT id FROM instruments WHERE model = ? AND serial = ?",
                                     {QString::fromStdString(note.model), note.serial});
    if (database_->Next(found)) {
        event.instrumentId = found.value(0).toLongLong();
    }
    AppendEvent(*database_, std::move(event));
    transaction.Commit();
}

std::vector<EventEntry> Archive::Events() {
    const ReadTransaction snapshot(*database_);
    return ReadEvents(*database_);
}

VerifyResult Archive::Verify(const std::optional<ChainHead>& kept) {
    const ReadTransaction snapshot(*database_);
    return VerifyArchive(*database_, kept);
}

ChainHead Archive::Head() {
    return ReadChainHead(*database_);
}

} // namespace kestrix::archive
