#include "kestrix/archive/archiveVerify.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/archiveEvents.h"
#include "kestrix/archive/downloadRecords.h"
#include "kestrix/archive/downloadRow.h"

#include <nlohmann/json.hpp>
#include <set>

namespace kestrix::archive {

namespace {

VerifyResult Damaged(std::int64_t eventId, const std::string& problem) {
    return {false, eventId, problem, 0, 0, {}};
}

std::string EventName(const ArchiveEvent& event) {
    return "event " + std::to_string(event.id) + " (" + event.kind + ")";
}

// The instruments table is outside the chain; the header each download's event hashes names
// the instrument, so its row must name the same one.
bool InstrumentMatchesHeader(ArchiveDatabase& database, const DownloadRow& row) {
    QSqlQuery instrument = database.Run("SELECT model, serial FROM instruments WHERE id = ?",
                                        {static_cast<qlonglong>(row.instrumentId)});
    if (!database.Next(instrument)) {
        return false;
    }
    const auto header = nlohmann::json::parse(row.header, nullptr, false);
    return header.is_object() && header.contains("model") && header.contains("serial") &&
           header["model"] == instrument.value(0).toString().toStdString() &&
           header["serial"] == instrument.value(1).toLongLong();
}

// Empty when the download and its records are as the event recorded them.
std::string CheckDownload(ArchiveDatabase& database, const ArchiveEvent& event,
                          std::int64_t& records) {
    const std::optional<DownloadRow> row = ReadDownloadRow(database, *event.downloadId);
    if (!row) {
        return "its download was deleted";
    }
    if (DownloadDetails(*row) != event.details || row->instrumentId != event.instrumentId) {
        return "its download was changed";
    }
    if (!InstrumentMatchesHeader(database, *row)) {
        return "its instrument's model or serial number was changed";
    }
    const RecordsCheck check = HashDownloadRecords(database, *row);
    records += check.count;
    if (check.count != row->newRecords || check.hash != event.recordsHash) {
        return "its records were changed, added or deleted";
    }
    return {};
}

// Empty when the download a signature names still holds the records it signed.
std::string CheckSignedDownload(ArchiveDatabase& database, const ArchiveEvent& event) {
    const std::optional<DownloadRow> row = ReadDownloadRow(database, *event.downloadId);
    if (!row || row->instrumentId != event.instrumentId ||
        HashDownloadRecords(database, *row).hash != event.recordsHash) {
        return "the download it signs no longer holds the records it signed";
    }
    return {};
}

// Empty when nothing outside the chain's events was added.
std::string CheckNothingAdded(ArchiveDatabase& database, const std::set<std::int64_t>& downloads,
                              std::int64_t records) {
    QSqlQuery all = database.Run("SELECT id FROM downloads ORDER BY id");
    while (database.Next(all)) {
        if (!downloads.contains(all.value(0).toLongLong())) {
            return "download " + all.value(0).toString().toStdString() +
                   " has no event: it was added afterwards";
        }
    }
    const qlonglong stored = database.Single("SELECT COUNT(*) FROM records").toLongLong();
    if (stored != records) {
        return std::to_string(stored - records) +
               " records belong to no download: they were added afterwards";
    }
    const qlonglong orphans = database
                                  .Single("SELECT COUNT(*) FROM instruments WHERE id NOT IN "
                                          "(SELECT instrument_id FROM downloads)")
                                  .toLongLong();
    if (orphans != 0) {
        return std::to_string(orphans) +
               " instruments have no download: they were added afterwards";
    }
    return {};
}

} // namespace

VerifyResult VerifyArchive(ArchiveDatabase& database, const std::optional<ChainHead>& kept) {
    VerifyResult result;
    std::set<std::int64_t> downloads;
    bool keptFound = !kept || kept->event == 0;
    for (const EventEntry& entry : ReadEvents(database)) {
        const ArchiveEvent& event = entry.event;
        if (event.previousHash != result.head.hash) {
            return Damaged(event.id,
                           EventName(event) + ": the event before it was changed or deleted");
        }
        if (EventHash(event) != event.hash) {
            return Damaged(event.id, EventName(event) + ": it was changed");
        }
        if (event.downloadId && event.kind == kEventSignature) {
            if (const std::string problem = CheckSignedDownload(database, event);
                !problem.empty()) {
                return Damaged(event.id, EventName(event) + ": " + problem);
            }
        } else if (event.downloadId) {
            if (const std::string problem = CheckDownload(database, event, result.records);
                !problem.empty()) {
                return Damaged(event.id, EventName(event) + ": " + problem);
            }
            downloads.insert(*event.downloadId);
        }
        keptFound = keptFound || (event.id == kept->event && event.hash == kept->hash);
        result.head = {event.id, event.hash};
        ++result.events;
    }
    const ChainHead stored = ReadChainHead(database);
    if (stored.event != result.head.event || stored.hash != result.head.hash) {
        return Damaged(stored.event, "event " + std::to_string(stored.event) +
                                         ": the newest events were deleted or changed");
    }
    if (!keptFound) {
        return Damaged(kept->event, "the archive no longer holds " + FormatChainHead(*kept) +
                                        ": the chain was cut or rebuilt after that head");
    }
    if (const std::string problem = CheckNothingAdded(database, downloads, result.records);
        !problem.empty()) {
        return Damaged(0, problem);
    }
    return result;
}

} // namespace kestrix::archive
