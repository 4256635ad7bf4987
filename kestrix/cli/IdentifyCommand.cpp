#include "kestrix/cli/IdentifyCommand.h"

#include "kestrix/cli/ConsolePrompts.h"
#include "kestrix/cli/SessionRun.h"
#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/exitCodes.h"

#include <iostream>

namespace kestrix::cli {

CLI::App* IdentifyCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "identify", "Connect to an instrument and print its identity on stdout.");
    instrument_.Register(*command);
    return command;
}

int IdentifyCommand::Run(const CliContext& context) {
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    instrument::DownloadSession session;
    AnswerOnConsole(session);
    const int status = IdentifyChosenInstrument(session, instrument_, store);
    if (status == kExitOk) {
        std::cout << IdentityLines(session.Identity(), session.SlaveAddress());
    }
    session.CloseConnections();
    return status;
}

} // namespace kestrix::cli
