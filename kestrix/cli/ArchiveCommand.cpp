#include "kestrix/cli/ArchiveCommand.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/recordSetInput.h"
#include "kestrix/cli/tableOutput.h"

#include <QFile>
#include <iostream>
#include <optional>

namespace kestrix::cli {

namespace {

// A head is near the top of every file that carries one; a report may be large.
constexpr qint64 kMaxHeadFileBytes = 16 << 20;

int Import(archive::Archive& archive, const std::string& path) {
    const std::unique_ptr<data::clsDataRecordSet> input = ReadRecordSetInput(path);
    if (!input) {
        return kExitUnreadableInput;
    }
    const archive::StoreResult stored = archive.Store(*input, {archive::kEventImport, 0});
    ReportNote("imported " + std::to_string(stored.newRecords) + " new records of " +
               std::to_string(stored.records) + " into " + archive.Place());
    return kExitOk;
}

// A head given as N:HEX, or the first one a file carries (a report, an export, verify's output).
std::optional<archive::ChainHead> KeptHead(const std::string& given) {
    if (const auto head = archive::FindChainHead(given)) {
        return head;
    }
    QFile file(QString::fromStdString(given));
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(kExitUnreadableInput, "\"" + given +
                                       "\" is neither a head such as 12:HEX nor a "
                                       "file that can be read: " +
                                       file.errorString().toStdString());
        return std::nullopt;
    }
    const auto head = archive::FindChainHead(file.read(kMaxHeadFileBytes).toStdString());
    if (!head) {
        Fail(kExitUnreadableInput, "\"" + given +
                                       "\" carries no archive head such as event 12 "
                                       "sha256:HEX");
    }
    return head;
}

int Verify(archive::Archive& archive, const std::optional<std::string>& given) {
    std::optional<archive::ChainHead> kept;
    if (given) {
        kept = KeptHead(*given);
        if (!kept) {
            return kExitUnreadableInput;
        }
    }
    const archive::VerifyResult result = archive.Verify(kept);
    if (!result.intact) {
        return Fail(kExitArchiveDamaged, "the archive is damaged: " + result.problem);
    }
    std::cout << "intact: " << result.events << " events, " << result.records << " records\n"
              << "head: " << archive::FormatChainHead(result.head) << '\n';
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
        "verify", "Walk the audit trail's hash chain and every download's records; print the "
                  "chain's head as \"event N sha256:HEX\" to keep outside the archive.");
    verify_
        ->add_option("--head", keptHead_,
                     "a head kept earlier, as N:HEX or a file that carries one (a report, an "
                     "export); the archive must still hold it")
        ->type_name("HEAD|FILE");
    events_ = command->add_subcommand("events", "Print the audit trail, oldest first.");
    events_->add_flag("--json", eventsJson_, "print a JSON list instead of lines");
    RegisterEventFilter(*events_, eventFilter_);
    sign_ = command->add_subcommand(
        "sign", "Sign a download or a report file electronically, after asking for the password "
                "again: the signature is an event holding the signer, the time, the meaning and "
                "the SHA-256 of what was signed.");
    RegisterSign(*sign_, signOptions_);
    verifyFile_ = command->add_subcommand(
        "verify-file", "Tell whether a file is one that was signed, and by whom.");
    verifyFile_->add_option("REPORT", signedFile_, "the file to look for")->required();
    setupServer_ = command->add_subcommand(
        "setup-server", "Set up a PostgreSQL archive once, as the database's owner: the tables, "
                        "the groups kestrix_operator, kestrix_reviewer and kestrix_admin, and "
                        "append-only audit tables; or add a user to a group.");
    RegisterServerSetup(*setupServer_, setupOptions_);
    calibration_ = command->add_subcommand(
        "calibration", "Keep an instrument's calibration (certificate, date, due date) in the "
                       "audit trail, or show the one that stands.");
    RegisterArchiveCalibration(*calibration_, calibrationOptions_);
    return command;
}

ApplicationKind ArchiveCommand::RequiredApplication() const {
    return export_->parsed()
               ? ApplicationForSave(exportOptions_.outputs.savePath, exportOptions_.outputs.format)
               : ApplicationKind::kCore;
}

int ArchiveCommand::Run(const CliContext& context) {
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    const archive::ArchiveSettings settings = archive::ReadArchiveSettings(store.GetConfigPath());
    if (!settings.problem.empty()) {
        return Fail(kExitArchiveUnavailable, settings.problem);
    }
    if (!settings.enabled) {
        return Fail(kExitArchiveUnavailable,
                    "the archive is switched off ([archive] enabled=0 in the configuration)");
    }
    try {
        if (export_->parsed()) {
            return RunArchiveExport(settings, exportOptions_, store);
        }
        const bool writes = import_->parsed() || sign_->parsed() || setupServer_->parsed() ||
                            (calibration_->parsed() && WritesCalibration(calibrationOptions_));
        archive::Archive archive(settings,
                                 writes ? archive::Access::kWrite : archive::Access::kRead);
        if (list_->parsed()) {
            PrintInstruments(archive, listJson_, std::cout);
            return kExitOk;
        }
        if (events_->parsed()) {
            PrintEvents(archive, eventFilter_, eventsJson_, std::cout);
            return kExitOk;
        }
        if (sign_->parsed()) {
            return RunSign(archive, settings, signOptions_);
        }
        if (verifyFile_->parsed()) {
            return RunVerifyFile(archive, signedFile_);
        }
        if (setupServer_->parsed()) {
            return RunServerSetup(archive, setupOptions_);
        }
        if (import_->parsed()) {
            return Import(archive, importPath_);
        }
        if (calibration_->parsed()) {
            return RunArchiveCalibration(archive, calibrationOptions_);
        }
        return Verify(archive, keptHead_);
    } catch (const archive::ArchiveError& error) {
        return Fail(kExitArchiveUnavailable, error.what());
    }
}

} // namespace kestrix::cli
