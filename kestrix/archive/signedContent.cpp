#include "kestrix/archive/signedContent.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/auditChain.h"
#include "kestrix/archive/downloadRecords.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace kestrix::archive {

SignedContent DownloadContent(ArchiveDatabase& database, std::int64_t eventId) {
    QSqlQuery found = database.Run(
        "SELECT download_id, records_hash FROM events WHERE id = ? AND kind IN (?, ?)",
        {static_cast<qlonglong>(eventId), QString(kEventDownload), QString(kEventImport)});
    if (!database.Next(found) || found.value(0).isNull()) {
        throw ArchiveError("event " + std::to_string(eventId) +
                           " of the archive is no download or import");
    }
    const std::optional<DownloadRow> row = ReadDownloadRow(database, found.value(0).toLongLong());
    const std::string eventHash = found.value(1).toString().toStdString();
    const RecordsCheck records = row ? HashDownloadRecords(database, *row) : RecordsCheck{};
    if (!row || records.hash != eventHash) {
        throw ArchiveError("the records of event " + std::to_string(eventId) +
                           " were changed since the download: archive verify names the damage");
    }
    // A signature over no records would bind nothing.
    if (records.count == 0) {
        throw ArchiveError("the download of event " + std::to_string(eventId) +
                           " added no records to the archive, all were archived before: sign "
                           "the download that added them");
    }
    return {eventHash, {}, eventId, row->id, row->instrumentId};
}

std::optional<SignedContent> FileContent(const std::string& path, std::string& problem) {
    QFile file(QString::fromStdString(path));
    if (!QFileInfo(file).isFile()) {
        problem = "\"" + path + "\" is no regular file";
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file) ||
        file.error() != QFileDevice::NoError) {
        problem = "\"" + path + "\" cannot be read: " + file.errorString().toStdString();
        return std::nullopt;
    }
    SignedContent content;
    content.sha256 = hash.result().toHex().toStdString();
    content.file = QFileInfo(file).fileName().toStdString();
    return content;
}

} // namespace kestrix::archive
