#include "kestrix/archive/downloadRow.h"

#include "kestrix/archive/ArchiveDatabase.h"

#include <QCryptographicHash>
#include <nlohmann/json.hpp>

namespace kestrix::archive {

std::string DownloadDetails(const DownloadRow& row) {
    const std::string headerHash =
        QCryptographicHash::hash(QByteArray::fromStdString(row.header), QCryptographicHash::Sha256)
            .toHex()
            .toStdString();
    nlohmann::ordered_json details = {
        {"download", row.id},
        {"downloaded", row.downloadedAt},
        {"user", row.userName},
        {"host", row.host},
        {"program", row.programVersion},
        {"records", row.recordTotal},
        {"new_records", row.newRecords},
        {"header_sha256", headerHash},
    };
    // Only when there are any, so that the details of earlier downloads stay as they were.
    if (row.collisions > 0) {
        details["collisions"] = row.collisions;
    }
    return details.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<DownloadRow> ReadDownloadRow(ArchiveDatabase& database, std::int64_t id) {
    QSqlQuery query = database.Run(
        "SELECT instrument_id, downloaded_at, user_name, host, program_version, record_total, "
        "new_records, header, collisions FROM downloads WHERE id = ?",
        {static_cast<qlonglong>(id)});
    if (!database.Next(query)) {
        return std::nullopt;
    }
    DownloadRow row;
    row.id = id;
    row.instrumentId = query.value(0).toLongLong();
    row.downloadedAt = query.value(1).toString().toStdString();
    row.userName = query.value(2).toString().toStdString();
    row.host = query.value(3).toString().toStdString();
    row.programVersion = query.value(4).toString().toStdString();
    row.recordTotal = query.value(5).toInt();
    row.newRecords = query.value(6).toInt();
    row.header = query.value(7).toString().toStdString();
    row.collisions = query.value(8).toInt();
    return row;
}

} // namespace kestrix::archive
