#pragma once

// The audit trail read back in the order it was written.

#include "kestrix/archive/auditChain.h"

#include <vector>

namespace kestrix::archive {

struct EventEntry {
    ArchiveEvent event;
    std::string model; // of the event's instrument; empty without one
    std::int32_t serial = 0;
};

std::vector<EventEntry> ReadEvents(ArchiveDatabase& database);

} // namespace kestrix::archive
