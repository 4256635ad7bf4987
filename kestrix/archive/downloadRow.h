#pragma once

// One row of the downloads table and the event details made from it: the download event
// carries them, so that a changed row no longer matches its event.

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix::archive {

class ArchiveDatabase;

struct DownloadRow {
    std::int64_t id = 0;
    std::int64_t instrumentId = 0;
    std::string downloadedAt;
    std::string userName;
    std::string host;
    std::string programVersion;
    std::int32_t recordTotal = 0;
    std::int32_t newRecords = 0;
    std::int32_t collisions = 0; // new records kept beside another of the same time stamp
    std::string header;
};

std::string DownloadDetails(const DownloadRow& row);

std::optional<DownloadRow> ReadDownloadRow(ArchiveDatabase& database, std::int64_t id);

} // namespace kestrix::archive
