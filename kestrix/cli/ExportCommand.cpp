#include "kestrix/cli/ExportCommand.h"

#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/tableOutput.h"
#include "kestrix/data/recordSetFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace kestrix::cli {

namespace {

// Opened here so that the one message naming the file says why it failed.
RecordSetReadResult ReadInput(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {nullptr, std::strerror(errno)};
    }
    return ReadRecordSetJson(in);
}

} // namespace

CLI::App* ExportCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "export", "Lay a record-set file out as the data table and save it as a file; the view "
                  "options and units come from the configuration file.");
    command->add_option("--json", jsonPath_, "record-set file (JSON) to read")
        ->required()
        ->type_name("IN");
    AddSaveOption(*command, savePath_)->required();
    return command;
}

ApplicationKind ExportCommand::RequiredApplication() const {
    return ApplicationForSave(savePath_);
}

int ExportCommand::Run(const CliContext& context) {
    const RecordSetReadResult input = ReadInput(jsonPath_);
    if (!input.recordSet) {
        return Fail(kExitUnreadableInput, "cannot read \"" + jsonPath_ + "\": " + input.error);
    }
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    return SaveRecordSetTable(*input.recordSet, store, "\"" + jsonPath_ + "\"", savePath_);
}

} // namespace kestrix::cli
