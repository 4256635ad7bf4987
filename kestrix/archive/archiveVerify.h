#pragma once

// Walks the event chain and every download's records: a changed, inserted or deleted event,
// download row, instrument or record is found and the first damaged entry named. A head kept
// outside the archive shows a chain cut at its end or rebuilt since.

#include "kestrix/archive/chainHead.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix::archive {

class ArchiveDatabase;

struct VerifyResult {
    bool intact = true;
    std::int64_t damagedEvent = 0; // the first event found damaged; 0 when none is to blame
    std::string problem;           // what is wrong, naming the entry
    std::int64_t events = 0;       // walked
    std::int64_t records = 0;      // checked against their downloads' events
    ChainHead head;                // the newest event walked
};

// Call inside one snapshot (a ReadTransaction).
VerifyResult VerifyArchive(ArchiveDatabase& database, const std::optional<ChainHead>& kept);

} // namespace kestrix::archive
