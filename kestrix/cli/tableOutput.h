#pragma once

// The table file that export and download write with --save OUT: the record set laid out as
// the program's data table, with the view options and units of the configuration file.

#include "kestrix/cli/CliCommand.h"

#include <optional>
#include <string>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix {
namespace modConfig {
class ConfigStore;
}
} // namespace kestrix

namespace kestrix::cli {

// The format of "--save -" without --format.
inline constexpr const char* kDefaultTableFormat = "csv";

// Adds --save OUT, accepting only the endings of a table file or "-", and --format for "-".
CLI::Option* AddSaveOption(CLI::App& command, std::string& savePath,
                           std::optional<std::string>& format);

// PDF needs painting; the other files do not.
ApplicationKind ApplicationForSave(const std::string& savePath,
                                   const std::optional<std::string>& format);

// Lays the record set out and saves it; returns the exit status and reports a failure on
// stderr. `source` names the record set in messages.
int SaveRecordSetTable(data::clsDataRecordSet& recordSet, const modConfig::ConfigStore& store,
                       const std::string& source, const std::string& savePath);

} // namespace kestrix::cli
