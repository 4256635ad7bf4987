#pragma once

// kestrix-cli archive list and archive events: what the archive holds, as text lines or JSON.

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <optional>
#include <string>

namespace kestrix::archive {
class Archive;
}

namespace kestrix::cli {

// Which events archive events prints; empty or absent: any.
struct EventFilter {
    std::string user;
    std::string kind;
    std::optional<std::string> from; // ISO 8601 date-times, local unless they name a zone
    std::optional<std::string> to;
};

void RegisterEventFilter(CLI::App& command, EventFilter& filter);

void PrintInstruments(archive::Archive& archive, bool json, std::ostream& out);
void PrintEvents(archive::Archive& archive, const EventFilter& filter, bool json,
                 std::ostream& out);

} // namespace kestrix::cli
