#pragma once

// What the user made of the chart panel, kept in the configuration file's [charts] section so
// that the panel comes back as it was left.

#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace kestrix::charts {

struct ChartState {
    bool shown = false;
    bool logScale = false;
    std::optional<std::int32_t> location; // none: all locations
    std::set<std::string> hiddenSeries;   // series keys switched off
    bool aqiBands = true;                 // the index's category bands behind PM2.5 and PM10

    bool operator==(const ChartState&) const = default;
};

// The section's state; the defaults for what is missing or unreadable.
ChartState LoadChartState(const std::string& configPath);

// Writes the section into the file, keeping every other line; false when it cannot be written.
bool SaveChartState(const std::string& configPath, const ChartState& state);

} // namespace kestrix::charts
