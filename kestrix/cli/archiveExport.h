#pragma once

// kestrix-cli archive export: one instrument's archived records, chosen by time and location,
// written as a record-set file or saved as the data table.

#include "kestrix/cli/CliCommand.h"
#include "kestrix/cli/recordSetOutputs.h"

#include <optional>
#include <string>

namespace kestrix::modConfig {
class ConfigStore;
}
namespace kestrix::archive {
struct ArchiveSettings;
}

namespace kestrix::cli {

struct ArchiveExportOptions {
    std::int32_t serial = 0;
    std::string model;
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::string locations; // "1,4,7"
    RecordSetOutputs outputs;
};

// --serial N and --model MODEL, for the commands that take one archived instrument.
void RegisterArchivedInstrument(CLI::App& command, std::int32_t& serial, std::string& model);

void RegisterArchiveExport(CLI::App& command, ArchiveExportOptions& options);

// Reads the archive without a write lock, writes, then notes the export in the trail.
int RunArchiveExport(const archive::ArchiveSettings& settings, const ArchiveExportOptions& options,
                     const modConfig::ConfigStore& store);

} // namespace kestrix::cli
