#pragma once

// Which records of a download the archive does not hold yet. A record is the same as an archived
// one when its instrument, time stamp and every value agree; one that differs in a value from
// the archived record of its time stamp (an instrument whose clock was reset) is kept beside it
// under the next variant number, so that no download is silently thinned.

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::archive {

class ArchiveDatabase;

struct PackedRecord {
    double timeStamp = 0.0;
    std::int32_t variant = 0; // 0 unless another record of the same time stamp was kept first
    std::int32_t location = 0;
    std::int32_t sampleTime = 0;
    std::int32_t sampleStatus = 0;
    QByteArray channels;

    bool SameValues(const PackedRecord& other) const;
};

// In time order, records of the same time stamp in the order downloaded; a record repeated
// with the same values is kept once.
std::vector<PackedRecord> PackRecords(data::clsDataRecordSet& recordSet);

struct FreshRecords {
    std::vector<PackedRecord> records; // with their variant numbers
    std::int32_t collisions = 0;       // of them kept beside another of the same time stamp
};

FreshRecords NewRecords(ArchiveDatabase& database, std::int64_t instrumentId,
                        std::vector<PackedRecord> records);

} // namespace kestrix::archive
