#include "kestrix/archive/eventFilter.h"

#include <algorithm>
#include <iterator>

namespace kestrix::archive {

QDateTime EventInstant(const std::string& text) {
    return QDateTime::fromString(QString::fromStdString(text), Qt::ISODateWithMs);
}

bool Matches(const EventFilter& filter, const EventEntry& entry) {
    const ArchiveEvent& event = entry.event;
    const QDateTime time = EventInstant(event.happenedAt);
    // An event without an instrument belongs to none.
    const bool instrument =
        (filter.model.empty() && !filter.serial) ||
        (!entry.model.empty() && (filter.model.empty() || filter.model == entry.model) &&
         (!filter.serial || *filter.serial == entry.serial));
    return instrument && (filter.user.empty() || filter.user == event.userName) &&
           (filter.kind.empty() || filter.kind == event.kind) &&
           (!filter.from.isValid() || time >= filter.from) &&
           (!filter.to.isValid() || time <= filter.to);
}

std::vector<EventEntry> FilterEvents(const std::vector<EventEntry>& entries,
                                     const EventFilter& filter) {
    std::vector<EventEntry> matching;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(matching),
                 [&filter](const EventEntry& entry) { return Matches(filter, entry); });
    return matching;
}

} // namespace kestrix::archive
