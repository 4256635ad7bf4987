#include "kestrix/cli/DownloadCommand.h"

#include "kestrix/archive/autoArchive.h"
#include "kestrix/cli/ConsolePrompts.h"
#include "kestrix/cli/SessionRun.h"
#include "kestrix/cli/archiveNoting.h"
#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/tableOutput.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/recordSetFile.h"

#include <iostream>

namespace kestrix::cli {

CLI::App* DownloadCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "download", "Connect to an instrument, identify it and download every stored record; "
                    "the identity and a progress bar go to stderr.");
    instrument_.Register(*command);
    command->add_option("--json", jsonPath_, "record-set file (JSON) to write")->type_name("OUT");
    AddSaveOption(*command, savePath_);
    command->add_flag("--quiet", quiet_, "show neither identity nor progress");
    command->add_flag("--no-archive", noArchive_, "do not keep the download in the archive");
    return command;
}

ApplicationKind DownloadCommand::RequiredApplication() const {
    return ApplicationForSave(savePath_);
}

void DownloadCommand::NoteSavedFiles(const clsDataRecordSet& recordSet,
                                     const modConfig::ConfigStore& store) const {
    if (jsonPath_) {
        NoteInArchive(store, archive::ExportNote(recordSet, *jsonPath_));
    }
    if (!savePath_.empty()) {
        NoteInArchive(store, archive::ExportNote(recordSet, savePath_));
    }
}

int DownloadCommand::Run(const CliContext& context) {
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    DownloadSession session;
    AnswerOnConsole(session);
    if (const int status = IdentifyChosenInstrument(session, instrument_, store);
        status != kExitOk) {
        return status;
    }
    if (!quiet_) {
        std::cerr << IdentityLines(session.Identity(), session.SlaveAddress());
    }
    const DownloadOutcome outcome = RunDownload(session, !quiet_);
    session.CloseConnections();
    if (outcome == DownloadOutcome::NoData) {
        return Fail(ExitCodeOf(outcome), ConsoleLines(session.View().ShownText()));
    }
    if (outcome != DownloadOutcome::Finished) {
        return Fail(ExitCodeOf(outcome), "no record set was downloaded");
    }
    const auto recordSet = session.GetDataRecordSet();
    if (!noArchive_) {
        // The archive's trouble is told and never stops the download.
        const archive::AutoArchiveOutcome archived =
            archive::ArchiveFinishedDownload(archive::ReadArchiveSettings(store.GetConfigPath()),
                                             *recordSet, session.Identity().mapVersion);
        if (!archived.message.empty() && (!archived.archived || !quiet_)) {
            ReportNote(archived.message);
        }
    }
    if (jsonPath_) {
        std::string error;
        if (!WriteRecordSetJson(*recordSet, *jsonPath_, error)) {
            return Fail(kExitSaveFailed, error);
        }
    }
    if (!savePath_.empty()) {
        if (const int status =
                SaveRecordSetTable(*recordSet, store, "the downloaded records", savePath_);
            status != kExitOk) {
            return status;
        }
    }
    if (!noArchive_) {
        NoteSavedFiles(*recordSet, store);
    }
    if (!quiet_) {
        ReportNote("downloaded " + std::to_string(recordSet->RecordCount()) + " records" +
                   (jsonPath_ ? " into " + *jsonPath_ : std::string()) +
                   (savePath_.empty() ? std::string() : " and saved the table as " + savePath_));
    }
    return kExitOk;
}

} // namespace kestrix::cli
