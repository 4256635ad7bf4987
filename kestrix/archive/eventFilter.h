#pragma once

// Which events of the audit trail a reviewer asked for: by user, kind, instrument and time.
// The command line and the Audit Trail window choose events with this one filter.

#include "kestrix/archive/archiveEvents.h"

#include <QDateTime>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::archive {

// Empty, absent or invalid: any.
struct EventFilter {
    std::string user;
    std::string kind;
    std::string model;
    std::optional<std::int32_t> serial;
    QDateTime from; // both bounds included
    QDateTime to;
};

// An event's time, or a bound given as an ISO 8601 date-time: local unless it names a zone, as
// events are on SQLite, or UTC with "Z", as the server writes them; both compare as instants.
// Invalid when the text is no date-time.
QDateTime EventInstant(const std::string& text);

bool Matches(const EventFilter& filter, const EventEntry& entry);

// The matching entries in the order given.
std::vector<EventEntry> FilterEvents(const std::vector<EventEntry>& entries,
                                     const EventFilter& filter);

} // namespace kestrix::archive
