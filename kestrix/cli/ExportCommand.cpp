#include "kestrix/cli/ExportCommand.h"

#include "kestrix/cli/archiveNoting.h"
#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/tableOutput.h"
#include "kestrix/data/recordSetFile.h"

namespace kestrix::cli {

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
    const RecordSetReadResult input = ReadRecordSetJson(jsonPath_);
    if (!input.recordSet) {
        return Fail(kExitUnreadableInput, input.error);
    }
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    const int status =
        SaveRecordSetTable(*input.recordSet, store, "\"" + jsonPath_ + "\"", savePath_);
    if (status == kExitOk) {
        NoteInArchive(store, archive::ExportNote(*input.recordSet, savePath_));
    }
    return status;
}

} // namespace kestrix::cli
