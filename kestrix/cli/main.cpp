// kestrix-cli: the program's main jobs without a window.

#include "HelpFormatter.h"
#include "kestrix/archive/archiveMove.h"
#include "kestrix/base/pendingFileCleanup.h"
#include "kestrix/cli/cliCommands.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/passwordInput.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace kestrix::cli;

std::string ExitCodeHelp() {
    std::string help = "Exit status:\n";
    for (const ExitCodeMeaning& entry : kExitCodeMeanings) {
        const std::string code = std::to_string(entry.code);
        help += std::string(4 - code.size(), ' ') + code + "  " + entry.meaning + "\n";
    }
    return help;
}

// Painting needs a GUI application; a command-line tool never shows a window.
std::unique_ptr<QCoreApplication> MakeApplication(ApplicationKind kind, int& argc, char** argv) {
    if (kind == ApplicationKind::kGui) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// A first word that names no command is an unknown command, not a missing one.
std::optional<std::string> UnknownCommand(const CLI::App& program) {
    if (!program.get_subcommands().empty()) {
        return std::nullopt;
    }
    for (const std::string& word : program.remaining()) {
        if (!word.empty() && word.front() != '-') {
            return word;
        }
    }
    return std::nullopt;
}

int RunCommand(CliCommand& command, const CliContext& context) {
    AskArchivePasswordsOnTheTerminal();
    try {
        const auto archiveMove =
            kestrix::archive::MoveOlderArchive(context.configPath.value_or(""));
        if (!archiveMove.note.empty()) {
            ReportNote(archiveMove.note);
        }
        return command.Run(context);
    } catch (const std::exception& error) {
        return Fail(kExitInternalError, error.what());
    }
}

} // namespace

int main(int argc, char** argv) {
    kestrix::base::RemovePendingFilesOnInterrupt();
    CLI::App program("Downloads, converts and exports the records of Kestrix particle counters.",
                     kProgramName);
    program.formatter(std::make_shared<tolvex::cli::HelpFormatter>());
    program.set_version_flag("--version", std::string(kProgramName) + " " + KESTRIX_VERSION);
    program.require_subcommand(1);
    program.fallthrough();
    CliContext context;
    program
        .add_option("--config", context.configPath,
                    "configuration file (default: config.ini in the program's data folder)")
        ->type_name("FILE");

    const auto commands = MakeCliCommands();
    std::vector<std::pair<const CLI::App*, CliCommand*>> subcommands;
    for (const auto& command : commands) {
        subcommands.emplace_back(command->Register(program), command.get());
    }
    // Set after the subcommands, which would copy it: the list is told once, in the top help.
    program.footer(ExitCodeHelp());
    try {
        program.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (const auto word = UnknownCommand(program); word && error.get_exit_code() != 0) {
            std::cerr << kProgramName << ": unknown command '" << *word << "'\n"
                      << "Run with --help for the list of commands.\n";
            return kExitUsage;
        }
        const int status = program.exit(error);
        return status == 0 ? kExitOk : kExitUsage;
    }
    for (const auto& [subcommand, command] : subcommands) {
        if (subcommand->parsed()) {
            const auto application = MakeApplication(command->RequiredApplication(), argc, argv);
            return RunCommand(*command, context);
        }
    }
    return kExitUsage;
}
