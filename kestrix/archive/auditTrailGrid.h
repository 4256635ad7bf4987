#pragma once

// The events a reviewer chose, laid out as a table to print or save as PDF: lines that say
// which archive, which events and when, then one row an event under the column headings, which
// repeat at the top of every page.

#include "kestrix/archive/eventFilter.h"
#include "kestrix/table/GridModel.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kestrix::archive {

struct AuditTrailList {
    std::string place; // the archive's
    EventFilter filter;
    std::vector<EventEntry> entries; // the chosen ones, in the order to print
    std::size_t total = 0;           // events in the archive
    QDateTime printedAt;
};

void LayOutAuditTrail(const AuditTrailList& list, table::GridModel& grid);

} // namespace kestrix::archive
