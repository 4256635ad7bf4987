#include "kestrix/archive/archiveQuery.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/downloadHeader.h"
#include "kestrix/archive/recordPacking.h"

#include <algorithm>
#include <limits>

namespace kestrix::archive {

namespace {

struct Selection {
    QString where;
    QVariantList values;
};

Selection Select(std::int64_t instrumentId, const RecordQuery& query) {
    Selection selection{"instrument_id = ?", {static_cast<qlonglong>(instrumentId)}};
    if (query.from) {
        selection.where += " AND time_stamp >= ?";
        selection.values << *query.from;
    }
    if (query.to) {
        selection.where += " AND time_stamp <= ?";
        selection.values << *query.to;
    }
    if (!query.locations.empty()) {
        QStringList marks;
        for (const std::int32_t location : query.locations) {
            marks << "?";
            selection.values << location;
        }
        selection.where += " AND location IN (" + marks.join(", ") + ")";
    }
    return selection;
}

std::string HeaderText(ArchiveDatabase& database, std::int64_t instrumentId,
                       const QVariant& newestDownload) {
    if (!newestDownload.isNull()) {
        return database.Single("SELECT header FROM downloads WHERE id = ?", {newestDownload})
            .toString()
            .toStdString();
    }
    return database
        .Single("SELECT header FROM downloads WHERE id = (SELECT MAX(id) FROM downloads WHERE "
                "instrument_id = ?)",
                {static_cast<qlonglong>(instrumentId)})
        .toString()
        .toStdString();
}

// A record of an older download may have had more channels than the newest one describes;
// it keeps the channels the set has (setting a count clears every channel).
void FitChannels(data::clsDataRecord& record, const data::clsDataRecordSet& recordSet) {
    if (record.GetPartChanCount() <= recordSet.GetPartChanCount() &&
        record.GetAnalogChanCount() <= recordSet.GetAnalogChanCount()) {
        return;
    }
    const data::clsDataRecord whole = record;
    record.SetPartChanCount(std::min(whole.GetPartChanCount(), recordSet.GetPartChanCount()));
    for (std::int16_t c = 0; c < record.GetPartChanCount(); ++c) {
        record.SetPartChanData(c, whole.GetPartChanValue(c, true), whole.GetPartChanStatus(c),
                               whole.GetPartChanEnable(c));
    }
    record.SetAnalogChanCount(std::min(whole.GetAnalogChanCount(), recordSet.GetAnalogChanCount()));
    for (std::int16_t c = 0; c < record.GetAnalogChanCount(); ++c) {
        record.SetAnalogChanData(c, whole.GetAnalogChanValue(c), whole.GetAnalogChanStatus(c),
                                 whole.GetAnalogChanEnable(c));
    }
}

std::optional<base::DateTime> OptionalTime(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<base::DateTime>(value.toDouble());
}

void AddLocations(ArchiveDatabase& database, qlonglong instrumentId, InstrumentSummary& summary) {
    QSqlQuery query = database.Run(
        "SELECT DISTINCT location FROM records WHERE instrument_id = ? ORDER BY location",
        {instrumentId});
    while (database.Next(query)) {
        summary.locations.push_back(query.value(0).toInt());
    }
    if (summary.locations.empty()) {
        return;
    }
    std::unique_ptr<data::clsDataRecordSet> named;
    try {
        named = MakeRecordSet(ParseHeaderJson(HeaderText(database, instrumentId, {})), 0);
    } catch (const ArchiveError&) {
        // One unreadable description must not hide the other instruments: default names.
        named = std::make_unique<data::clsDataRecordSet>();
    }
    for (const std::int32_t location : summary.locations) {
        summary.locationNames.push_back(named->GetLocationName(location));
    }
}

} // namespace

ArchivedInstrument FindInstrument(ArchiveDatabase& database, std::int32_t serial,
                                  const std::string& model) {
    QSqlQuery found =
        model.empty()
            ? database.Run("SELECT id, model FROM instruments WHERE serial = ?", {serial})
            : database.Run("SELECT id, model FROM instruments WHERE serial = ? AND model = ?",
                           {serial, QString::fromStdString(model)});
    std::vector<ArchivedInstrument> fits;
    while (database.Next(found)) {
        fits.push_back({found.value(0).toLongLong(), found.value(1).toString().toStdString()});
    }
    const std::string name = "serial number " + std::to_string(serial) +
                             (model.empty() ? "" : " of model \"" + model + "\"");
    if (fits.empty()) {
        throw ArchiveNoInstrument("the archive holds no instrument with " + name);
    }
    if (fits.size() > 1) {
        throw ArchiveNoInstrument("the archive holds instruments of several models with " + name);
    }
    return fits.front();
}

std::vector<InstrumentSummary> ListInstruments(ArchiveDatabase& database) {
    QSqlQuery query =
        database.Run("SELECT i.id, i.model, i.serial, "
                     "(SELECT COUNT(*) FROM records r WHERE r.instrument_id = i.id), "
                     "(SELECT COUNT(*) FROM downloads d WHERE d.instrument_id = i.id), "
                     "(SELECT MIN(time_stamp) FROM records r WHERE r.instrument_id = i.id), "
                     "(SELECT MAX(time_stamp) FROM records r WHERE r.instrument_id = i.id) "
                     "FROM instruments i ORDER BY i.model, i.serial");
    std::vector<std::pair<qlonglong, InstrumentSummary>> rows;
    while (database.Next(query)) {
        InstrumentSummary summary{query.value(1).toString().toStdString(),
                                  query.value(2).toInt(),
                                  query.value(3).toLongLong(),
                                  query.value(4).toLongLong(),
                                  OptionalTime(query.value(5)),
                                  OptionalTime(query.value(6)),
                                  {},
                                  {}};
        rows.emplace_back(query.value(0).toLongLong(), std::move(summary));
    }
    std::vector<InstrumentSummary> summaries;
    for (auto& [id, summary] : rows) {
        AddLocations(database, id, summary);
        summaries.push_back(std::move(summary));
    }
    return summaries;
}

std::unique_ptr<data::clsDataRecordSet> QueryRecords(ArchiveDatabase& database,
                                                     const RecordQuery& query) {
    const std::int64_t instrumentId = FindInstrument(database, query.serial, query.model).id;
    const Selection selection = Select(instrumentId, query);
    QSqlQuery counted =
        database.Run("SELECT COUNT(*), MAX(download_id) FROM records WHERE " + selection.where,
                     selection.values);
    if (!database.Next(counted)) {
        throw ArchiveError("the archive \"" + database.Place() + "\" cannot count its records");
    }
    const qlonglong count = counted.value(0).toLongLong();
    if (count > std::numeric_limits<std::int32_t>::max()) {
        throw ArchiveError("more records than one record set can hold: choose a shorter time");
    }
    auto recordSet =
        MakeRecordSet(ParseHeaderJson(HeaderText(database, instrumentId, counted.value(1))),
                      static_cast<std::int32_t>(count));
    QSqlQuery rows = database.Run("SELECT time_stamp, location, sample_time, sample_status, "
                                  "channels FROM records WHERE " +
                                      selection.where + " ORDER BY time_stamp, variant",
                                  selection.values);
    data::clsDataRecord record;
    std::int32_t index = 0;
    for (; index < count && database.Next(rows); ++index) {
        record.SetTimeStamp(rows.value(0).toDouble());
        record.SetLocationID(rows.value(1).toInt());
        record.SetSampleTimeData(rows.value(2).toInt(),
                                 static_cast<std::uint8_t>(rows.value(3).toInt()));
        UnpackChannels(rows.value(4).toByteArray(), record);
        FitChannels(record, *recordSet);
        recordSet->RecordCopy(index, &record);
    }
    if (index < count) {
        throw ArchiveError("the archive \"" + database.Place() +
                           "\" is damaged: " + std::to_string(count - index) + " of " +
                           std::to_string(count) + " records cannot be read");
    }
    return recordSet;
}

} // namespace kestrix::archive
