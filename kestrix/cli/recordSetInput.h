#pragma once

// The record-set file (JSON) that export, classify, check and archive import read.

#include "kestrix/data/clsDataRecordSet.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

namespace kestrix::cli {

// Adds the required --json IN.
void AddRecordSetInput(CLI::App& command, std::string& path);

// The file's record set; null when it cannot be read, with the reason said on stderr (the
// command then exits with kExitUnreadableInput).
std::unique_ptr<data::clsDataRecordSet> ReadRecordSetInput(const std::string& path);

} // namespace kestrix::cli
