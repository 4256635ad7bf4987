#pragma once

// kestrix-cli archive export: one instrument's archived records, chosen by time and location,
// written as a record-set file or saved as the data table.

#include "kestrix/cli/CliCommand.h"

#include <optional>
#include <string>

namespace kestrix::modConfig {
class ConfigStore;
}
namespace kestrix::archive {
class Archive;
}

namespace kestrix::cli {

struct ArchiveExportOptions {
    std::int32_t serial = 0;
    std::string model;
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::string locations; // "1,4,7"
    std::optional<std::string> jsonPath;
    std::string savePath;
};

void RegisterArchiveExport(CLI::App& command, ArchiveExportOptions& options);

int RunArchiveExport(archive::Archive& archive, const ArchiveExportOptions& options,
                     const modConfig::ConfigStore& store);

} // namespace kestrix::cli
