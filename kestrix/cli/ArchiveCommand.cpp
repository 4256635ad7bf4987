#include "kestrix/cli/ArchiveCommand.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/cli/archiveListings.h"
#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/recordSetInput.h"
#include "kestrix/cli/tableOutput.h"

#include <iostream>

namespace kestrix::cli {

namespace {

int Import(archive::Archive& archive, const std::string& path) {
    const std::unique_ptr<clsDataRecordSet> input = ReadRecordSetInput(path);
    if (!input) {
        return kExitUnreadableInput;
    }
    const archive::StoreResult stored = archive.Store(*input, {archive::kEventImport, 0});
    ReportNote("imported " + std::to_string(stored.newRecords) + " new records of " +
               std::to_string(stored.records) + " into " + archive.Place());
    return kExitOk;
}

int Verify(archive::Archive& archive) {
    const archive::VerifyResult result = archive.Verify();
    if (!result.intact) {
        return Fail(kExitArchiveDamaged, "the archive is damaged: " + result.problem);
    }
    std::cout << "intact: " << result.events << " events, " << result.records << " records\n";
    return kExitOk;
}

} // namespace

CLI::App* ArchiveCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "archive", "The download archive of the configuration file's [archive] section: every "
                   "download kept, its records once per instrument and time stamp.");
    command->require_subcommand(1);
    list_ = command->add_subcommand("list", "Per instrument: model, serial number, records, "
                                            "downloads, first and last time stamp.");
    list_->add_flag("--json", listJson_, "print a JSON list instead of lines");
    export_ = command->add_subcommand(
        "export", "Write one instrument's archived records, merged in time order.");
    RegisterArchiveExport(*export_, exportOptions_);
    import_ = command->add_subcommand("import", "Archive a record-set file (JSON) as a download.");
    import_->add_option("FILE", importPath_, "record-set file (JSON) to read")->required();
    verify_ = command->add_subcommand(
        "verify", "Walk the audit trail's hash chain and every download's records.");
    events_ = command->add_subcommand("events", "Print the audit trail, oldest first.");
    events_->add_flag("--json", eventsJson_, "print a JSON list instead of lines");
    return command;
}

ApplicationKind ArchiveCommand::RequiredApplication() const {
    return export_->parsed() ? ApplicationForSave(exportOptions_.savePath) : ApplicationKind::kCore;
}

int ArchiveCommand::Run(const CliContext& context) {
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    const archive::ArchiveSettings settings = archive::ReadArchiveSettings(store.GetConfigPath());
    if (!settings.enabled) {
        return Fail(kExitArchiveUnavailable,
                    "the archive is switched off ([archive] enabled=0 in the configuration)");
    }
    try {
        archive::Archive archive(settings);
        if (list_->parsed()) {
            PrintInstruments(archive, listJson_, std::cout);
            return kExitOk;
        }
        if (events_->parsed()) {
            PrintEvents(archive, eventsJson_, std::cout);
            return kExitOk;
        }
        if (import_->parsed()) {
            return Import(archive, importPath_);
        }
        if (export_->parsed()) {
            return RunArchiveExport(archive, exportOptions_, store);
        }
        return Verify(archive);
    } catch (const archive::ArchiveError& error) {
        return Fail(kExitArchiveUnavailable, error.what());
    }
}

} // namespace kestrix::cli
