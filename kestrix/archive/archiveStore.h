#pragma once

// Storing one download: its instrument, the download row, the records the archive does not
// hold yet with that instrument, time stamp and values, and its event, in one transaction.

#include "kestrix/archive/chainHead.h"

#include <cstdint>
#include <string>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::archive {

class ArchiveDatabase;

struct DownloadOrigin {
    std::string eventKind;       // kEventDownload, or kEventImport for a file
    std::int32_t mapVersion = 0; // 0 when unknown (a file)
};

struct StoreResult {
    std::int64_t downloadId = 0;
    std::int32_t records = 0;    // in the download
    std::int32_t newRecords = 0; // of them not archived before
    ChainHead head;              // the download's own event
};

StoreResult StoreDownload(ArchiveDatabase& database, data::clsDataRecordSet& recordSet,
                          const DownloadOrigin& origin);

} // namespace kestrix::archive
