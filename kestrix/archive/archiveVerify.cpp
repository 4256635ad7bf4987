#include "kestrix/archive/archiveVerify.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/archiveEvents.h"
#include "kestrix/archive/downloadRow.h"

#include <set>

namespace kestrix::archive {

namespace {

struct RecordsCheck {
    std::string hash;
    std::int64_t count = 0;
};

RecordsCheck HashRecordsOf(ArchiveDatabase& database, std::int64_t downloadId) {
    QSqlQuery rows = database.Run(
        "SELECT instrument_id, time_stamp, location, sample_time, sample_status, channels "
        "FROM records WHERE download_id = ? ORDER BY time_stamp",
        {static_cast<qlonglong>(downloadId)});
    RecordsHasher hasher;
    RecordsCheck check;
    while (rows.next()) {
        hasher.Add(rows.value(0).toLongLong(), rows.value(1).toDouble(), rows.value(2).toInt(),
                   rows.value(3).toInt(), rows.value(4).toInt(), rows.value(5).toByteArray());
        ++check.count;
    }
    check.hash = hasher.Hex();
    return check;
}

VerifyResult Damaged(std::int64_t eventId, const std::string& problem) {
    return {false, eventId, problem, 0, 0};
}

std::string EventName(const ArchiveEvent& event) {
    return "event " + std::to_string(event.id) + " (" + event.kind + ")";
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
    const RecordsCheck check = HashRecordsOf(database, row->id);
    records += check.count;
    if (check.count != row->newRecords || check.hash != event.recordsHash) {
        return "its records were changed, added or deleted";
    }
    return {};
}

} // namespace

VerifyResult VerifyArchive(ArchiveDatabase& database) {
    VerifyResult result;
    std::string previousHash;
    std::set<std::int64_t> downloads;
    for (const EventEntry& entry : ReadEvents(database)) {
        const ArchiveEvent& event = entry.event;
        if (event.previousHash != previousHash) {
            return Damaged(event.id,
                           EventName(event) + ": the event before it was changed or deleted");
        }
        if (EventHash(event) != event.hash) {
            return Damaged(event.id, EventName(event) + ": it was changed");
        }
        if (event.downloadId) {
            if (const std::string problem = CheckDownload(database, event, result.records);
                !problem.empty()) {
                return Damaged(event.id, EventName(event) + ": " + problem);
            }
            downloads.insert(*event.downloadId);
        }
        previousHash = event.hash;
        ++result.events;
    }
    QSqlQuery head = database.Run("SELECT event_id, hash FROM chain_head");
    const bool hasHead = head.next();
    if (hasHead != !previousHash.empty() ||
        (hasHead && head.value(1).toString().toStdString() != previousHash)) {
        const std::int64_t lost = hasHead ? head.value(0).toLongLong() : 0;
        return Damaged(lost, "event " + std::to_string(lost) +
                                 ": the newest events were deleted or changed");
    }
    QSqlQuery all = database.Run("SELECT id FROM downloads ORDER BY id");
    while (all.next()) {
        if (!downloads.contains(all.value(0).toLongLong())) {
            return Damaged(0, "download " + all.value(0).toString().toStdString() +
                                  " has no event: it was added afterwards");
        }
    }
    const qlonglong stored = database.Single("SELECT COUNT(*) FROM records").toLongLong();
    if (stored != result.records) {
        return Damaged(0, std::to_string(stored - result.records) +
                              " records belong to no download: they were added afterwards");
    }
    return result;
}

} // namespace kestrix::archive
