#include "kestrix/cli/cliCommands.h"

#include "kestrix/cli/ArchiveCommand.h"
#include "kestrix/cli/CheckCommand.h"
#include "kestrix/cli/ClassifyCommand.h"
#include "kestrix/cli/DensityCommand.h"
#include "kestrix/cli/DownloadCommand.h"
#include "kestrix/cli/ExportCommand.h"
#include "kestrix/cli/IaqCommand.h"
#include "kestrix/cli/IdentifyCommand.h"
#include "kestrix/cli/LocationsCommand.h"
#include "kestrix/cli/UploadNamesCommand.h"

namespace kestrix::cli {

std::vector<std::unique_ptr<CliCommand>> MakeCliCommands() {
    std::vector<std::unique_ptr<CliCommand>> commands;
    commands.push_back(std::make_unique<IdentifyCommand>());
    commands.push_back(std::make_unique<DownloadCommand>());
    commands.push_back(std::make_unique<DensityCommand>());
    commands.push_back(std::make_unique<ExportCommand>());
    commands.push_back(std::make_unique<LocationsCommand>());
    commands.push_back(std::make_unique<UploadNamesCommand>());
    commands.push_back(std::make_unique<ClassifyCommand>());
    commands.push_back(std::make_unique<CheckCommand>());
    commands.push_back(std::make_unique<IaqCommand>());
    commands.push_back(std::make_unique<ArchiveCommand>());
    return commands;
}

} // namespace kestrix::cli
