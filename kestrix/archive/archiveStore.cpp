#include "kestrix/archive/archiveStore.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/auditChain.h"
#include "kestrix/archive/downloadHeader.h"
#include "kestrix/archive/downloadRow.h"
#include "kestrix/archive/newRecords.h"
#include "kestrix/archive/recordPacking.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/isoDateTime.h"

#include <algorithm>
#include <optional>
#include <vector>

#ifndef KESTRIX_VERSION
#define KESTRIX_VERSION "0.0.0"
#endif

namespace kestrix::archive {

namespace {

// Rows of one INSERT. PostgreSQL wants several rows a round trip, but the SQLite driver looks
// each bound value up among all of a statement's values: 200 rows a statement cost 5 s a full
// memory, 16 rows 1 s, with the same statement prepared once and run again.
constexpr std::size_t kRowsPerInsert = 16;

std::int64_t InstrumentId(ArchiveDatabase& database, const data::clsDataRecordSet& recordSet,
                          std::int32_t mapVersion) {
    const QString model = QString::fromStdString(recordSet.GetSensorName());
    const QVariant settings[] = {mapVersion, mapVersion, recordSet.GetSensorFlowRate(),
                                 QString::fromStdString(recordSet.GetSensorFlowRateUnits()),
                                 recordSet.GetParticleDensity()};
    QSqlQuery found = database.Run("SELECT id FROM instruments WHERE model = ? AND serial = ?",
                                   {model, recordSet.GetSensorID()});
    if (database.Next(found)) {
        const qlonglong id = found.value(0).toLongLong();
        database.Run("UPDATE instruments SET map_version = CASE WHEN ? > 0 THEN ? ELSE "
                     "map_version END, flow_rate = ?, flow_rate_units = ?, density = ? "
                     "WHERE id = ?",
                     {settings[0], settings[1], settings[2], settings[3], settings[4], id});
        return id;
    }
    return database
        .Single("INSERT INTO instruments (model, serial, map_version, flow_rate, "
                "flow_rate_units, density) VALUES (?, ?, ?, ?, ?, ?) RETURNING id",
                {model, recordSet.GetSensorID(), mapVersion, settings[2], settings[3], settings[4]})
        .toLongLong();
}

// A description the archive could not read back would make every later listing fail.
void RefuseUnreadable(const std::string& header) {
    try {
        MakeRecordSet(ParseHeaderJson(header), 0);
    } catch (const ArchiveError& error) {
        throw ArchiveError(std::string("the record set cannot be archived: ") + error.what());
    }
}

QString InsertStatement(std::size_t rows) {
    QString sql = "INSERT INTO records (instrument_id, time_stamp, variant, download_id, "
                  "location, sample_time, sample_status, channels) VALUES ";
    for (std::size_t row = 0; row < rows; ++row) {
        sql += row == 0 ? "(?, ?, ?, ?, ?, ?, ?, ?)" : ", (?, ?, ?, ?, ?, ?, ?, ?)";
    }
    return sql;
}

std::string InsertRecords(ArchiveDatabase& database, std::int64_t instrumentId,
                          std::int64_t downloadId, const std::vector<PackedRecord>& records) {
    RecordsHasher hasher;
    std::optional<QSqlQuery> insert;
    std::size_t preparedRows = 0;
    QVariantList values;
    for (std::size_t first = 0; first < records.size(); first += kRowsPerInsert) {
        const std::size_t last = std::min(records.size(), first + kRowsPerInsert);
        if (last - first != preparedRows) {
            preparedRows = last - first;
            insert = database.Prepare(InsertStatement(preparedRows));
        }
        values.clear();
        for (std::size_t i = first; i < last; ++i) {
            const PackedRecord& record = records[i];
            values << static_cast<qlonglong>(instrumentId) << record.timeStamp << record.variant
                   << static_cast<qlonglong>(downloadId) << record.location << record.sampleTime
                   << record.sampleStatus << record.channels;
            hasher.Add(instrumentId, record.timeStamp, record.variant, record.location,
                       record.sampleTime, record.sampleStatus, record.channels);
        }
        database.Execute(*insert, values);
    }
    return hasher.Hex();
}

} // namespace

StoreResult StoreDownload(ArchiveDatabase& database, data::clsDataRecordSet& recordSet,
                          const DownloadOrigin& origin) {
    std::vector<PackedRecord> packed = PackRecords(recordSet);
    const std::string header = HeaderJson(recordSet);
    RefuseUnreadable(header);
    WriteTransaction transaction(database);
    const std::int64_t instrumentId = InstrumentId(database, recordSet, origin.mapVersion);
    const FreshRecords fresh = NewRecords(database, instrumentId, std::move(packed));

    DownloadRow row;
    row.instrumentId = instrumentId;
    row.downloadedAt = data::FormatIsoDateTime(recordSet.GetDownloadTime());
    row.userName = CurrentUserName();
    row.host = CurrentHost();
    row.programVersion = KESTRIX_VERSION;
    row.recordTotal = recordSet.RecordCount();
    row.newRecords = static_cast<std::int32_t>(fresh.records.size());
    row.collisions = fresh.collisions;
    row.header = header;
    row.id =
        database
            .Single("INSERT INTO downloads (instrument_id, downloaded_at, user_name, host, "
                    "program_version, record_total, new_records, collisions, header) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id",
                    {static_cast<qlonglong>(instrumentId), QString::fromStdString(row.downloadedAt),
                     QString::fromStdString(row.userName), QString::fromStdString(row.host),
                     QString::fromStdString(row.programVersion), row.recordTotal, row.newRecords,
                     row.collisions, QString::fromStdString(row.header)})
            .toLongLong();

    ArchiveEvent event;
    event.host = row.host;
    event.kind = origin.eventKind;
    event.instrumentId = instrumentId;
    event.downloadId = row.id;
    event.details = DownloadDetails(row);
    event.recordsHash = InsertRecords(database, instrumentId, row.id, fresh.records);
    const ArchiveEvent stored = AppendEvent(database, std::move(event));
    transaction.Commit();
    return {row.id, row.recordTotal, row.newRecords, {stored.id, stored.hash}};
}

} // namespace kestrix::archive
