#pragma once

#include "kestrix/cli/CliCommand.h"

#include <memory>
#include <vector>

namespace kestrix::cli {

// Every subcommand of kestrix-cli, in the order --help lists them.
std::vector<std::unique_ptr<CliCommand>> MakeCliCommands();

} // namespace kestrix::cli
