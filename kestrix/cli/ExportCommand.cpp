#include "kestrix/cli/ExportCommand.h"

#include "kestrix/cli/OutputTarget.h"
#include "kestrix/cli/archiveNoting.h"
#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/recordSetInput.h"
#include "kestrix/cli/tableOutput.h"

namespace kestrix::cli {

CLI::App* ExportCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "export", "Lay a record-set file out as the data table and save it as a file; the view "
                  "options and units come from the configuration file.");
    AddRecordSetInput(*command, jsonPath_);
    AddSaveOption(*command, savePath_, format_)->required();
    return command;
}

ApplicationKind ExportCommand::RequiredApplication() const {
    return ApplicationForSave(savePath_, format_);
}

int ExportCommand::Run(const CliContext& context) {
    const OutputTarget output(savePath_, format_, kDefaultTableFormat);
    if (const int status = output.Check(); status != kExitOk) {
        return status;
    }
    const std::unique_ptr<data::clsDataRecordSet> input = ReadRecordSetInput(jsonPath_);
    if (!input) {
        return kExitUnreadableInput;
    }
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    int status = SaveRecordSetTable(*input, store, "\"" + jsonPath_ + "\"", output.WritePath());
    if (status == kExitOk) {
        status = output.Deliver();
    }
    if (status == kExitOk) {
        NoteInArchive(store, archive::ExportNote(*input, savePath_));
    }
    return status;
}

} // namespace kestrix::cli
