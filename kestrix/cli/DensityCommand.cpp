#include "kestrix/cli/DensityCommand.h"

#include "kestrix/cli/ConsolePrompts.h"
#include "kestrix/cli/SessionRun.h"
#include "kestrix/cli/archiveNoting.h"
#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/instrument/DensitySession.h"
#include "kestrix/instrument/DensityValue.h"

#include <QEventLoop>
#include <charconv>
#include <iostream>
#include <regex>

namespace kestrix::cli {

namespace {

// The instrument keeps thousandths: a value with more decimals could not be written exactly.
std::optional<double> ParseDensity(const std::string& text) {
    static const std::regex kThreeDecimals(R"([0-9]{1,6}(\.[0-9]{1,3})?)");
    double value = 0.0;
    if (!std::regex_match(text, kThreeDecimals) ||
        std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

int Write(instrument::DensitySession& session, double density) {
    QEventLoop loop;
    instrument::DensityOutcome outcome = instrument::DensityOutcome::LostCommunication;
    QObject::connect(&session, &instrument::DensitySession::WriteEnded, &loop,
                     [&](instrument::DensityOutcome ended) {
                         outcome = ended;
                         loop.quit();
                     });
    if (!session.StartWrite(density)) {
        return kExitUsage;
    }
    loop.exec();
    switch (outcome) {
    case instrument::DensityOutcome::Written:
        return kExitOk;
    case instrument::DensityOutcome::NotSameInstrument:
        return Fail(kExitNotSameInstrument, "the density was not written");
    case instrument::DensityOutcome::LostCommunication:
        break;
    }
    return kExitLostCommunication;
}

int ReadBack(instrument::DensitySession& session) {
    QEventLoop loop;
    int status = kExitOk;
    QObject::connect(&session, &instrument::DensitySession::IdentityShown, &loop,
                     [&] { loop.quit(); });
    QObject::connect(&session, &instrument::DensitySession::CommunicationLost, &loop, [&] {
        status = kExitLostCommunication;
        loop.quit();
    });
    session.ReadIdentityAgain();
    loop.exec();
    return status;
}

int ShowAndChange(instrument::DensitySession& session, const std::optional<double>& density,
                  const modConfig::ConfigStore& store) {
    if (!session.IsIaq()) {
        return Fail(kExitNotIaqInstrument, "\"" + session.Identity().modelName +
                                               "\" is not an IAQ instrument: it has no "
                                               "particle density");
    }
    if (density) {
        const std::uint16_t before = session.DensityRegister();
        if (const int status = Write(session, *density); status != kExitOk) {
            return status;
        }
        if (const int status = ReadBack(session); status != kExitOk) {
            return status;
        }
        const std::string written = instrument::FormatDensity(session.WrittenRegister());
        ReportNote("wrote " + written + " g/ml; the particle density was " +
                   instrument::FormatDensity(before) + " g/ml");
        NoteInArchive(store, archive::DensityChangeNote(
                                 session.Identity().modelName, session.Identity().serialNumber,
                                 instrument::FormatDensity(before), written));
    }
    std::cout << instrument::FormatDensity(session.DensityRegister()) << '\n';
    return kExitOk;
}

} // namespace

CLI::App* DensityCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "density", "Connect to an IAQ instrument and print its particle density in g/ml with "
                   "three decimals on stdout; with --set write a new one first and print the "
                   "density read back.");
    instrument_.Register(*command);
    command
        ->add_option("--set", newDensity_,
                     "the new particle density in g/ml, 0.001 to 65.535 with at most three "
                     "decimals (for example 1.2)")
        ->type_name("VALUE");
    return command;
}

int DensityCommand::Run(const CliContext& context) {
    std::optional<double> density;
    if (newDensity_) {
        density = ParseDensity(*newDensity_);
        if (!density) {
            return Fail(kExitUsage, "--set takes a density in g/ml with at most three decimals, "
                                    "such as 1.2, not \"" +
                                        *newDensity_ + "\"");
        }
        // Refused before anything goes on the line.
        if (const instrument::DensityProblem problem = instrument::CheckDensity(*density);
            problem != instrument::DensityProblem::None) {
            return Fail(kExitUsage, instrument::DensityProblemText(problem));
        }
    }
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    instrument::DensitySession session;
    AnswerOnConsole(session);
    int status = IdentifyChosenInstrument(session, instrument_, store);
    if (status == kExitOk) {
        status = ShowAndChange(session, density, store);
    }
    session.CloseConnections();
    return status;
}

} // namespace kestrix::cli
