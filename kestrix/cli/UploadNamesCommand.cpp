#include "kestrix/cli/UploadNamesCommand.h"

#include "kestrix/cli/ConsolePrompts.h"
#include "kestrix/cli/SessionRun.h"
#include "kestrix/cli/archiveNoting.h"
#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/instrument/UploadSession.h"
#include "kestrix/instrument/uploadTexts.h"
#include "kestrix/locations/myLocations.h"

#include <QEventLoop>
#include <iostream>

namespace kestrix::cli {

namespace {

bool ConfirmedOnConsole() {
    std::cerr << ConsoleLines(uploadTexts::OverwriteQuestion()) << " [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return answer == "y" || answer == "Y" || answer == "yes";
}

int ExitCodeOf(instrument::UploadOutcome outcome) {
    switch (outcome) {
    case instrument::UploadOutcome::Finished:
        return kExitOk;
    case instrument::UploadOutcome::NoLocations:
        return kExitNoNameList;
    case instrument::UploadOutcome::InvalidName:
        return kExitInvalidName;
    case instrument::UploadOutcome::RepeatedName:
        return kExitRepeatedName;
    case instrument::UploadOutcome::NotSameInstrument:
        return kExitNotSameInstrument;
    case instrument::UploadOutcome::Cancelled:
        return kExitUploadStopped;
    default:
        return kExitLostCommunication;
    }
}

instrument::UploadOutcome RunUpload(instrument::UploadSession& session,
                                    const std::vector<std::string>& names) {
    QEventLoop loop;
    instrument::UploadOutcome outcome = instrument::UploadOutcome::LostCommunication;
    std::string shown;
    QObject::connect(&session, &instrument::UploadSession::UploadProgressChanged, &loop,
                     [&](const instrument::UploadView& view) {
                         if (view.value > 0 && view.progressText != shown) {
                             shown = view.progressText;
                             ReportNote("uploaded " + shown);
                         }
                     });
    QObject::connect(&session, &instrument::UploadSession::UploadEnded, &loop,
                     [&](instrument::UploadOutcome ended) {
                         outcome = ended;
                         loop.quit();
                     });
    // The end may come at once, before the loop runs.
    QMetaObject::invokeMethod(
        &session, [&session, &names] { session.StartUpload(names); }, Qt::QueuedConnection);
    loop.exec();
    return outcome;
}

} // namespace

CLI::App* UploadNamesCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "upload-names", "Write the short location names (My Locations of the configuration, or "
                        "a location file's) into the instrument's list of names, names 1 to the "
                        "instrument's count; progress goes to stderr.");
    instrument_.Register(*command);
    command->add_option("--from", fromPath_, "location file (.loc) whose short names to write")
        ->type_name("FILE.loc");
    command->add_flag("--yes", yes_, "overwrite the instrument's names without asking");
    return command;
}

std::optional<std::vector<std::string>>
UploadNamesCommand::ShortNames(const modConfig::ConfigStore& store, std::string& error) const {
    locations::LocationNames names;
    if (!fromPath_) {
        names = locations::MyLocationNames(store);
    } else if (!locations::LoadLocationFile(names, *fromPath_, error)) {
        return std::nullopt;
    }
    return std::vector<std::string>(names.shortNames.begin(), names.shortNames.end());
}

int UploadNamesCommand::Run(const CliContext& context) {
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    std::string error;
    const auto names = ShortNames(store, error);
    if (!names) {
        return Fail(kExitUnreadableInput, error);
    }
    instrument::UploadSession session;
    AnswerOnConsole(session);
    if (const int status = IdentifyChosenInstrument(session, instrument_, store);
        status != kExitOk) {
        return status;
    }
    std::cerr << IdentityLines(session.Identity(), session.SlaveAddress())
              << "# of Locations: " << session.NameCount() << "\n";
    if (!session.CanUpload()) {
        session.CloseConnections();
        return Fail(kExitNoNameList, uploadTexts::kNoLocationsText);
    }
    if (!yes_ && !ConfirmedOnConsole()) {
        session.CloseConnections();
        return Fail(kExitNotConfirmed, "nothing was written");
    }
    const instrument::UploadOutcome outcome = RunUpload(session, *names);
    session.CloseConnections();
    if (outcome != instrument::UploadOutcome::Finished) {
        return ExitCodeOf(outcome);
    }
    ReportNote("uploaded " + std::to_string(session.NameCount()) + " location names");
    NoteInArchive(store,
                  archive::NameUploadNote(session.Identity().modelName,
                                          session.Identity().serialNumber, session.NameCount()));
    return kExitOk;
}

} // namespace kestrix::cli
