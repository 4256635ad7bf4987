#include "kestrix/archive/archiveEvents.h"

#include "kestrix/archive/ArchiveDatabase.h"

namespace kestrix::archive {

namespace {

std::optional<std::int64_t> OptionalId(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<std::int64_t>(value.toLongLong());
}

std::string Text(const QVariant& value) {
    return value.toString().toStdString();
}

} // namespace

std::vector<EventEntry> ReadEvents(ArchiveDatabase& database) {
    QSqlQuery query = database.Run(
        "SELECT e.id, e.happened_at, e.user_name, e.full_name, e.host, e.kind, e.instrument_id, "
        "e.download_id, e.details, e.records_hash, e.previous_hash, e.hash, i.model, i.serial "
        "FROM events e LEFT JOIN instruments i ON i.id = e.instrument_id ORDER BY e.id");
    std::vector<EventEntry> entries;
    while (database.Next(query)) {
        EventEntry entry;
        ArchiveEvent& event = entry.event;
        event.id = query.value(0).toLongLong();
        event.happenedAt = Text(query.value(1));
        event.userName = Text(query.value(2));
        event.fullName = Text(query.value(3));
        event.host = Text(query.value(4));
        event.kind = Text(query.value(5));
        event.instrumentId = OptionalId(query.value(6));
        event.downloadId = OptionalId(query.value(7));
        event.details = Text(query.value(8));
        event.recordsHash = Text(query.value(9));
        event.previousHash = Text(query.value(10));
        event.hash = Text(query.value(11));
        entry.model = Text(query.value(12));
        entry.serial = query.value(13).toInt();
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace kestrix::archive
