#pragma once

// The configuration store as the program loads it at start.

#include "kestrix/cli/CliCommand.h"
#include "kestrix/shell/modConfig.h"

namespace kestrix::cli {

// Loads --config FILE, or else the program's own configuration file (the
// data folder's config.ini). A missing file gives the default settings; for
// a file named with --config that is said on stderr. So does a path that
// cannot be read (too long, a loop of links, a folder), which gives the
// defaults too.
void LoadCliConfig(const CliContext& context, modConfig::ConfigStore& store);

} // namespace kestrix::cli
