#pragma once

// The SHA-256 of the records a download added, read back from the archive in the order they
// were hashed when stored.

#include "kestrix/archive/downloadRow.h"

#include <cstdint>
#include <string>

namespace kestrix::archive {

struct RecordsCheck {
    std::string hash;
    std::int64_t count = 0;
};

RecordsCheck HashDownloadRecords(ArchiveDatabase& database, const DownloadRow& row);

} // namespace kestrix::archive
