#include "kestrix/cli/archiveListings.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/cli/printableText.h"
#include "kestrix/data/isoDateTime.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace kestrix::cli {

namespace {

using nlohmann::ordered_json;

ordered_json TimeOrNull(const std::optional<base::DateTime>& time) {
    return time ? ordered_json(data::FormatIsoDateTime(*time)) : ordered_json(nullptr);
}

std::string TimeOrDash(const std::optional<base::DateTime>& time) {
    return time ? data::FormatIsoDateTime(*time) : std::string("-");
}

void PrintJson(const ordered_json& value, std::ostream& out) {
    out << value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

} // namespace

void PrintInstruments(archive::Archive& archive, bool json, std::ostream& out) {
    ordered_json list = ordered_json::array();
    for (const archive::InstrumentSummary& summary : archive.Instruments()) {
        if (json) {
            list.push_back({{"model", summary.model},
                            {"serial", summary.serial},
                            {"records", summary.records},
                            {"downloads", summary.downloads},
                            {"first", TimeOrNull(summary.first)},
                            {"last", TimeOrNull(summary.last)}});
        } else {
            out << PrintableText(summary.model) << '\t' << summary.serial << '\t' << summary.records
                << " records\t" << summary.downloads << " downloads\t" << TimeOrDash(summary.first)
                << " to " << TimeOrDash(summary.last) << '\n';
        }
    }
    if (json) {
        PrintJson(list, out);
    }
}

void PrintEvents(archive::Archive& archive, bool json, std::ostream& out) {
    ordered_json list = ordered_json::array();
    for (const archive::EventEntry& entry : archive.Events()) {
        const archive::ArchiveEvent& event = entry.event;
        if (json) {
            list.push_back(
                {{"id", event.id},
                 {"time", event.happenedAt},
                 {"user", event.userName},
                 {"host", event.host},
                 {"kind", event.kind},
                 {"model", entry.model.empty() ? ordered_json(nullptr) : ordered_json(entry.model)},
                 {"serial",
                  entry.model.empty() ? ordered_json(nullptr) : ordered_json(entry.serial)},
                 {"details", event.details},
                 {"hash", event.hash}});
        } else {
            out << event.id << '\t' << PrintableText(event.happenedAt) << '\t'
                << PrintableText(event.userName) << '@' << PrintableText(event.host) << '\t'
                << PrintableText(event.kind) << '\t'
                << (entry.model.empty()
                        ? std::string("-")
                        : PrintableText(entry.model) + " " + std::to_string(entry.serial))
                << '\t' << PrintableText(event.details) << '\n';
        }
    }
    if (json) {
        PrintJson(list, out);
    }
}

} // namespace kestrix::cli
