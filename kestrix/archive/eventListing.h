#pragma once

// The audit trail as a reviewer reads it: one line of texts an event, in the columns that the
// Audit Trail window shows and prints; times in local time, details in words.

#include "kestrix/archive/eventFilter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::archive {

enum EventColumn {
    kEventTime,
    kEventUser,
    kEventFullName,
    kEventKind,
    kEventInstrument,
    kEventDetails,
    kEventColumnCount
};

std::vector<std::string> EventHeadings();
std::vector<std::string> EventCells(const EventEntry& entry);

// "yyyy-MM-dd HH:mm:ss" in local time.
std::string LocalTimeText(const QDateTime& time);
std::string InstrumentText(const std::string& model, std::int32_t serial);

// The details' fields as "name: value", without what the other columns show; a signature (or
// a refused one) starts with its meaning and what was signed, with the fingerprint shortened.
// Details that are no JSON object stay as written.
std::string EventDetailsText(const EventEntry& entry);

// What the filter chooses, as "kind signature, user jdoe"; "every event" when it chooses all.
std::string FilterText(const EventFilter& filter);

// Oldest first; events of the same time in the order written.
void SortByTime(std::vector<EventEntry>& entries);

} // namespace kestrix::archive
