#include "kestrix/cli/LocationsCommand.h"

#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/locations/myLocations.h"

namespace kestrix::cli {

CLI::App* LocationsCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "locations", "Write My Locations of the configuration as a location file, or read one "
                     "into them.");
    command->require_subcommand(1);
    export_ = command->add_subcommand("export", "Write My Locations as a location file.");
    export_->add_option("OUT", exportPath_, "location file (.loc) to write")->required();
    CLI::App* import = command->add_subcommand(
        "import", "Read a location file into My Locations and save the configuration; an empty "
                  "name keeps the one stored.");
    import->add_option("IN", importPath_, "location file (.loc) to read")->required();
    return command;
}

int LocationsCommand::Run(const CliContext& context) {
    return export_->parsed() ? Export(context) : Import(context);
}

int LocationsCommand::Export(const CliContext& context) const {
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    std::string error;
    if (!locations::SaveLocationFile(locations::MyLocationNames(store), exportPath_, error)) {
        return Fail(kExitSaveFailed, error);
    }
    return kExitOk;
}

int LocationsCommand::Import(const CliContext& context) const {
    locations::LocationNames names;
    std::string error;
    if (!locations::LoadLocationFile(names, importPath_, error)) {
        return Fail(kExitUnreadableInput, error);
    }
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    locations::ImportLocationNames(names, store);
    if (!store.SaveConfig()) {
        return Fail(kExitSaveFailed,
                    "the configuration \"" + store.GetConfigPath() + "\" cannot be written");
    }
    return kExitOk;
}

} // namespace kestrix::cli
