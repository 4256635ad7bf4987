#include "kestrix/archive/Archive.h"

#include "kestrix/archive/archiveSchema.h"

namespace kestrix::archive {

Archive::Archive(const ArchiveSettings& settings) : database_(settings) {
    MigrateArchive(database_);
}

StoreResult Archive::Store(clsDataRecordSet& recordSet, const DownloadOrigin& origin) {
    return StoreDownload(database_, recordSet, origin);
}

std::vector<InstrumentSummary> Archive::Instruments() {
    return ListInstruments(database_);
}

std::unique_ptr<clsDataRecordSet> Archive::Query(const RecordQuery& query) {
    return QueryRecords(database_, query);
}

void Archive::Note(const ActivityNote& note) {
    WriteTransaction transaction(database_);
    ArchiveEvent event;
    event.kind = note.kind;
    event.details = note.details;
    QSqlQuery found = database_.Run("SELECT id FROM instruments WHERE model = ? AND serial = ?",
                                    {QString::fromStdString(note.model), note.serial});
    if (found.next()) {
        event.instrumentId = found.value(0).toLongLong();
    }
    AppendEvent(database_, std::move(event));
    transaction.Commit();
}

std::vector<EventEntry> Archive::Events() {
    return ReadEvents(database_);
}

VerifyResult Archive::Verify() {
    return VerifyArchive(database_);
}

} // namespace kestrix::archive
