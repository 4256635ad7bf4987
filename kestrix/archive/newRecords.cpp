#include "kestrix/archive/newRecords.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/recordPacking.h"
#include "kestrix/data/clsDataRecordSet.h"

#include <algorithm>
#include <span>
#include <unordered_map>

namespace kestrix::archive {

namespace {

struct ArchivedTime {
    std::vector<PackedRecord> records;
    std::int32_t nextVariant = 0;
};

std::unordered_map<double, ArchivedTime>
ArchivedRecords(ArchiveDatabase& database, std::int64_t instrumentId, double first, double last) {
    QSqlQuery held = database.Run(
        "SELECT time_stamp, variant, location, sample_time, sample_status, channels FROM records "
        "WHERE instrument_id = ? AND time_stamp >= ? AND time_stamp <= ?",
        {static_cast<qlonglong>(instrumentId), first, last});
    std::unordered_map<double, ArchivedTime> archived;
    while (database.Next(held)) {
        PackedRecord record{held.value(0).toDouble(), held.value(1).toInt(),
                            held.value(2).toInt(),    held.value(3).toInt(),
                            held.value(4).toInt(),    held.value(5).toByteArray()};
        ArchivedTime& time = archived[record.timeStamp];
        time.nextVariant = std::max(time.nextVariant, record.variant + 1);
        time.records.push_back(std::move(record));
    }
    return archived;
}

bool HeldAmong(std::span<const PackedRecord> records, const PackedRecord& record) {
    return std::any_of(records.begin(), records.end(),
                       [&record](const PackedRecord& held) { return held.SameValues(record); });
}

} // namespace

bool PackedRecord::SameValues(const PackedRecord& other) const {
    return location == other.location && sampleTime == other.sampleTime &&
           sampleStatus == other.sampleStatus && channels == other.channels;
}

std::vector<PackedRecord> PackRecords(data::clsDataRecordSet& recordSet) {
    std::vector<PackedRecord> records;
    records.reserve(static_cast<std::size_t>(recordSet.RecordCount()));
    for (std::int32_t index = 0; index < recordSet.RecordCount(); ++index) {
        const data::clsDataRecord* record = recordSet.Record(index);
        records.push_back({record->GetTimeStamp(), 0, record->GetLocationID(),
                           record->GetSampleTimeValue(), record->GetSampleTimeStatus(),
                           PackChannels(*record)});
    }
    std::stable_sort(
        records.begin(), records.end(),
        [](const PackedRecord& a, const PackedRecord& b) { return a.timeStamp < b.timeStamp; });
    std::vector<PackedRecord> kept;
    kept.reserve(records.size());
    std::size_t sameTimeStart = 0;
    for (PackedRecord& record : records) {
        if (kept.empty() || kept.back().timeStamp != record.timeStamp) {
            sameTimeStart = kept.size();
        }
        if (!HeldAmong(std::span(kept).subspan(sameTimeStart), record)) {
            kept.push_back(std::move(record));
        }
    }
    return kept;
}

FreshRecords NewRecords(ArchiveDatabase& database, std::int64_t instrumentId,
                        std::vector<PackedRecord> records) {
    FreshRecords fresh;
    if (records.empty()) {
        return fresh;
    }
    std::unordered_map<double, ArchivedTime> archived = ArchivedRecords(
        database, instrumentId, records.front().timeStamp, records.back().timeStamp);
    for (PackedRecord& record : records) {
        ArchivedTime& time = archived[record.timeStamp];
        if (HeldAmong(time.records, record)) {
            continue;
        }
        record.variant = time.nextVariant++;
        fresh.collisions += record.variant > 0 ? 1 : 0;
        fresh.records.push_back(std::move(record));
    }
    return fresh;
}

} // namespace kestrix::archive
