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

#include <iostream>

namespace kestrix::cli {

CLI::App* DownloadCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "download", "Connect to an instrument, identify it and download every stored record; "
                    "the identity and a progress bar go to stderr.");
    instrument_.Register(*command);
    command
        ->add_option("--json", outputs_.jsonPath,
                     "record-set file (JSON) to write; - for standard output")
        ->type_name("OUT");
    AddSaveOption(*command, outputs_.savePath, outputs_.format);
    command->add_flag("--quiet", quiet_, "show neither identity nor progress");
    command->add_flag("--no-archive", noArchive_, "do not keep the download in the archive");
    return command;
}

ApplicationKind DownloadCommand::RequiredApplication() const {
    return ApplicationForSave(outputs_.savePath, outputs_.format);
}

void DownloadCommand::NoteSavedFiles(const data::clsDataRecordSet& recordSet,
                                     const modConfig::ConfigStore& store) const {
    if (outputs_.jsonPath) {
        NoteInArchive(store, archive::ExportNote(recordSet, *outputs_.jsonPath));
    }
    if (!outputs_.savePath.empty()) {
        NoteInArchive(store, archive::ExportNote(recordSet, outputs_.savePath));
    }
}

int DownloadCommand::Run(const CliContext& context) {
    if (const int status = CheckRecordSetOutputs(outputs_); status != kExitOk) {
        return status;
    }
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    const archive::ArchiveSettings archiveSettings =
        archive::ReadArchiveSettings(store.GetConfigPath());
    if (!noArchive_ && !archiveSettings.problem.empty()) {
        return Fail(kExitArchiveUnavailable, archiveSettings.problem);
    }
    instrument::DownloadSession session;
    AnswerOnConsole(session);
    if (const int status = IdentifyChosenInstrument(session, instrument_, store);
        status != kExitOk) {
        return status;
    }
    if (!quiet_) {
        std::cerr << IdentityLines(session.Identity(), session.SlaveAddress());
    }
    const instrument::DownloadOutcome outcome = RunDownload(session, !quiet_);
    session.CloseConnections();
    if (outcome == instrument::DownloadOutcome::NoData) {
        return Fail(ExitCodeOf(outcome), ConsoleLines(session.View().ShownText()));
    }
    if (outcome != instrument::DownloadOutcome::Finished) {
        return Fail(ExitCodeOf(outcome), "no record set was downloaded");
    }
    const auto recordSet = session.GetDataRecordSet();
    // The files come first, with the head they were written at: an archive held by another
    // program must not keep them waiting.
    if (!noArchive_) {
        recordSet->SetArchiveHead(archive::CurrentChainHead(archiveSettings));
    }
    const int status = WriteRecordSetOutputs(*recordSet, store, "the downloaded records", outputs_);
    if (!noArchive_) {
        // The archive's trouble is told and never stops the download.
        const archive::AutoArchiveOutcome archived = archive::ArchiveFinishedDownload(
            archiveSettings, *recordSet, session.Identity().mapVersion);
        if (!archived.archived || !quiet_) {
            ReportNote(archived.message);
        }
        if (status == kExitOk) {
            NoteSavedFiles(*recordSet, store);
        }
    }
    if (status != kExitOk) {
        return status;
    }
    if (!quiet_) {
        ReportNote("downloaded " + std::to_string(recordSet->RecordCount()) + " records" +
                   (outputs_.jsonPath ? " into " + *outputs_.jsonPath : std::string()) +
                   (outputs_.savePath.empty() ? std::string()
                                              : " and saved the table as " + outputs_.savePath));
    }
    return kExitOk;
}

} // namespace kestrix::cli
