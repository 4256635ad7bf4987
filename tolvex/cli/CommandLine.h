#pragma once

#include "CtlOptions.h"

#include <optional>

namespace tolvex::cli {

// Parses the command line. On a usage error or a help request it prints the message and returns
// the exit code to end with; otherwise fills options and returns nothing.
std::optional<int> ParseCommandLine(int argc, char** argv, CtlOptions& options);

} // namespace tolvex::cli
