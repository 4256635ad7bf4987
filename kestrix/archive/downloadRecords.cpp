#include "kestrix/archive/downloadRecords.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/auditChain.h"

namespace kestrix::archive {

// In the order of the index by download, which holds the instrument next, so that no sort is
// needed; a record moved to another instrument is missed here and found by the count.
RecordsCheck HashDownloadRecords(ArchiveDatabase& database, const DownloadRow& row) {
    QSqlQuery rows = database.Run(
        "SELECT instrument_id, time_stamp, variant, location, sample_time, sample_status, "
        "channels FROM records WHERE download_id = ? AND instrument_id = ? "
        "ORDER BY time_stamp, variant",
        {static_cast<qlonglong>(row.id), static_cast<qlonglong>(row.instrumentId)});
    RecordsHasher hasher;
    RecordsCheck check;
    while (database.Next(rows)) {
        hasher.Add(rows.value(0).toLongLong(), rows.value(1).toDouble(), rows.value(2).toInt(),
                   rows.value(3).toInt(), rows.value(4).toInt(), rows.value(5).toInt(),
                   rows.value(6).toByteArray());
        ++check.count;
    }
    check.hash = hasher.Hex();
    return check;
}

} // namespace kestrix::archive
