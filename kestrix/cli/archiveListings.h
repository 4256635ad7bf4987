#pragma once

// kestrix-cli archive list and archive events: what the archive holds, as text lines or JSON.

#include "kestrix/archive/eventFilter.h"

#include <CLI/CLI.hpp>
#include <iosfwd>

namespace kestrix::archive {
class Archive;
}

namespace kestrix::cli {

void RegisterEventFilter(CLI::App& command, archive::EventFilter& filter);

void PrintInstruments(archive::Archive& archive, bool json, std::ostream& out);
void PrintEvents(archive::Archive& archive, const archive::EventFilter& filter, bool json,
                 std::ostream& out);

} // namespace kestrix::cli
