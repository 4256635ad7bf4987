#include "kestrix/cli/cliCommands.h"

#include "kestrix/cli/ExportCommand.h"

namespace kestrix::cli {

std::vector<std::unique_ptr<CliCommand>> MakeCliCommands() {
    std::vector<std::unique_ptr<CliCommand>> commands;
    commands.push_back(std::make_unique<ExportCommand>());
    return commands;
}

} // namespace kestrix::cli
