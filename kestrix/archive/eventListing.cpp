#include "kestrix/archive/eventListing.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <utility>

namespace kestrix::archive {

namespace {

using nlohmann::ordered_json;

// Enough of a SHA-256 to tell fingerprints apart by eye; the whole is in the trail.
constexpr std::size_t kShortHashLength = 12;

std::string ValueText(const std::string& key, const ordered_json& value) {
    if (!value.is_string()) {
        return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
    const std::string text = value.get<std::string>();
    const bool hash = key.ends_with("sha256") && text.size() > kShortHashLength;
    return hash ? text.substr(0, kShortHashLength) + "\u2026" : text;
}

// Whatever the archive holds there, even a field of another type or none.
std::string FieldText(const ordered_json& details, const char* key) {
    return details.contains(key) ? ValueText(key, details[key]) : std::string();
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : ", ") + part;
    }
    return text;
}

std::string FieldName(std::string key) {
    std::replace(key.begin(), key.end(), '_', ' ');
    return key;
}

// "approved: file report.pdf" or "reviewed: download event 12".
std::string SignedText(const ordered_json& details) {
    const std::string what = details["signed"].get<std::string>();
    const std::string which =
        what == "file" ? FieldText(details, "file") : "event " + FieldText(details, "event");
    return FieldText(details, "meaning") + ": " + what + " " + which;
}

bool Shown(const std::string& key, const ordered_json& value, bool signature,
           const EventEntry& entry) {
    static const char* const kSignedKeys[] = {"signed", "event", "file", "meaning"};
    if (signature &&
        std::find(std::begin(kSignedKeys), std::end(kSignedKeys), key) != std::end(kSignedKeys)) {
        return false;
    }
    // What the columns show already: the user, the instrument, and for a download its time and
    // the archive's own number of it (a signature names the event). Fingerprints other than what
    // a signature signed are the chain's own, which Verify checks.
    const bool sameUser = key == "user" && value == entry.event.userName;
    const bool instrument = !entry.model.empty() && (key == "model" || key == "serial");
    const bool chainHash = !signature && key.ends_with("sha256");
    return !sameUser && !instrument && !chainHash && key != "download" && key != "downloaded";
}

} // namespace

std::vector<std::string> EventHeadings() {
    return {"Time", "User", "Full Name", "Kind", "Instrument", "Details"};
}

std::vector<std::string> EventCells(const EventEntry& entry) {
    const ArchiveEvent& event = entry.event;
    const QDateTime time = EventInstant(event.happenedAt);
    return {time.isValid() ? LocalTimeText(time) : event.happenedAt,
            event.userName,
            event.fullName,
            event.kind,
            entry.model.empty() ? std::string("-") : InstrumentText(entry.model, entry.serial),
            EventDetailsText(entry)};
}

std::string LocalTimeText(const QDateTime& time) {
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

std::string InstrumentText(const std::string& model, std::int32_t serial) {
    return model + " #" + std::to_string(serial);
}

std::string EventDetailsText(const EventEntry& entry) {
    const ordered_json details = ordered_json::parse(entry.event.details, nullptr, false);
    if (!details.is_object()) {
        return entry.event.details;
    }
    const bool signature = details.contains("signed") && details["signed"].is_string();
    std::vector<std::string> parts;
    if (signature) {
        parts.push_back(SignedText(details));
    }
    for (const auto& [key, value] : details.items()) {
        if (Shown(key, value, signature, entry)) {
            parts.push_back(FieldName(key) + ": " + ValueText(key, value));
        }
    }
    return Joined(parts);
}

std::string FilterText(const EventFilter& filter) {
    std::vector<std::string> parts;
    if (!filter.kind.empty()) {
        parts.push_back("kind " + filter.kind);
    }
    if (!filter.user.empty()) {
        parts.push_back("user " + filter.user);
    }
    if (filter.serial) {
        parts.push_back("instrument " + InstrumentText(filter.model, *filter.serial));
    } else if (!filter.model.empty()) {
        parts.push_back("model " + filter.model);
    }
    if (filter.from.isValid()) {
        parts.push_back("from " + LocalTimeText(filter.from));
    }
    if (filter.to.isValid()) {
        parts.push_back("to " + LocalTimeText(filter.to));
    }
    return parts.empty() ? "every event" : Joined(parts);
}

void SortByTime(std::vector<EventEntry>& entries) {
    std::vector<std::pair<QDateTime, EventEntry>> timed;
    timed.reserve(entries.size());
    for (EventEntry& entry : entries) {
        timed.emplace_back(EventInstant(entry.event.happenedAt), std::move(entry));
    }
    std::stable_sort(timed.begin(), timed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < timed.size(); ++i) {
        entries[i] = std::move(timed[i].second);
    }
}

} // namespace kestrix::archive
