#include "kestrix/archive/signedSummary.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/data/isoDateTime.h"

namespace kestrix::archive {

namespace {

// "yyyy-MM-dd HH:mm:ss", as the table shows times; the archive keeps them as ISO 8601.
std::string ShownTime(std::string iso) {
    if (const std::size_t split = iso.find('T'); split != std::string::npos) {
        iso[split] = ' ';
    }
    return iso.substr(0, iso.find('.'));
}

std::string TimeText(const QVariant& value) {
    return ShownTime(data::FormatIsoDateTime(value.toDouble()));
}

// The records the download added, which the signature's hash covers, and how many it held.
std::vector<SignedFact> DownloadFacts(ArchiveDatabase& database, const SignedContent& content) {
    const QVariant download = static_cast<qlonglong>(*content.downloadId);
    QSqlQuery found =
        database.Run("SELECT i.model, i.serial, d.record_total, d.downloaded_at FROM downloads d "
                     "JOIN instruments i ON i.id = d.instrument_id WHERE d.id = ?",
                     {download});
    QSqlQuery added = database.Run("SELECT COUNT(*), MIN(time_stamp), MAX(time_stamp) FROM records "
                                   "WHERE download_id = ? AND instrument_id = ?",
                                   {download, static_cast<qlonglong>(*content.instrumentId)});
    if (!database.Next(found) || !database.Next(added)) {
        throw ArchiveError("the download of event " + std::to_string(*content.downloadEvent) +
                           " cannot be read");
    }
    const std::string total = found.value(2).toString().toStdString();
    const std::string count = added.value(0).toString().toStdString();
    return {
        {"Instrument", found.value(0).toString().toStdString()},
        {"Serial number", found.value(1).toString().toStdString()},
        {"Download", "event " + std::to_string(*content.downloadEvent) + ", downloaded " +
                         ShownTime(found.value(3).toString().toStdString())},
        {"Records", count == total ? count + " added to the archive"
                                   : count + " added to the archive (of " + total +
                                         " downloaded; the others were archived before)"},
        {"Time span", TimeText(added.value(1)) + " to " + TimeText(added.value(2))},
    };
}

} // namespace

std::vector<SignedFact> DescribeSignedContent(ArchiveDatabase& database,
                                              const SignedContent& content) {
    std::vector<SignedFact> facts = content.downloadId
                                        ? DownloadFacts(database, content)
                                        : std::vector<SignedFact>{{"File", content.file}};
    facts.push_back({"SHA-256", content.sha256});
    return facts;
}

} // namespace kestrix::archive
