#include "kestrix/cli/archiveListings.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/cli/printableText.h"
#include "kestrix/data/isoDateTime.h"

#include <QDateTime>
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

std::string CheckInstant(const std::string& text) {
    return archive::EventInstant(text).isValid()
               ? std::string()
               : "\"" + text + "\" is no date-time such as 2026-03-01T08:15:00";
}

void AddTimeBound(CLI::App& command, const std::string& name, QDateTime& bound,
                  const std::string& description) {
    command
        .add_option_function<std::string>(
            name, [&bound](const std::string& text) { bound = archive::EventInstant(text); },
            description)
        ->check(CLI::Validator(CheckInstant, "DATETIME"));
}

ordered_json IdOrNull(const std::optional<std::int64_t>& id) {
    return id ? ordered_json(*id) : ordered_json(nullptr);
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

void RegisterEventFilter(CLI::App& command, archive::EventFilter& filter) {
    command.add_option("--user", filter.user, "only the events of this user")->type_name("NAME");
    command.add_option("--kind", filter.kind, "only events of this kind, such as signature")
        ->type_name("KIND");
    command.add_option("--serial", filter.serial, "only events of the instrument with this serial")
        ->type_name("N");
    command.add_option("--model", filter.model, "only events of instruments of this model");
    AddTimeBound(command, "--from", filter.from, "only events at or after this ISO 8601 date-time");
    AddTimeBound(command, "--to", filter.to, "only events at or before this ISO 8601 date-time");
}

void PrintEvents(archive::Archive& archive, const archive::EventFilter& filter, bool json,
                 std::ostream& out) {
    ordered_json list = ordered_json::array();
    for (const archive::EventEntry& entry : archive::FilterEvents(archive.Events(), filter)) {
        const archive::ArchiveEvent& event = entry.event;
        if (json) {
            list.push_back(
                {{"id", event.id},
                 {"time", event.happenedAt},
                 {"user", event.userName},
                 {"name", event.fullName},
                 {"host", event.host},
                 {"kind", event.kind},
                 {"download", IdOrNull(event.downloadId)},
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
