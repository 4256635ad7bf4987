#include "kestrix/cli/SessionRun.h"

#include "kestrix/cli/ProgressDisplay.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/instrument/PortBinding.h"
#include "kestrix/instrument/PortList.h"
#include "kestrix/instrument/scanMemory.h"
#include "tolvex/PortTable.h"

#include <QEventLoop>

namespace kestrix::cli {

namespace {

std::string PortName(int port) {
    return "port " + std::to_string(port) + " (" + tolvex::GetPortDevice(port) + ")";
}

// The wizard's text would send the user to its buttons; this says where nobody answered.
std::string NotFoundText(const InstrumentChoice& choice) {
    const std::string where = choice.address == 0 ? "at any address 1-99"
                                                  : "at address " + std::to_string(choice.address);
    return "Instrument not found! No instrument answered " + where + " on " +
           PortName(choice.port) + ".";
}

int RunIdentification(instrument::SessionCore& session, const InstrumentChoice& choice,
                      modConfig::ConfigStore& store) {
    QEventLoop loop;
    int status = kExitOk;
    QObject::connect(&session, &instrument::SessionCore::IdentityShown, &loop,
                     [&] { loop.quit(); });
    QObject::connect(&session, &instrument::SessionCore::InstrumentNotFound, &loop, [&] {
        status = Fail(kExitNotFound, NotFoundText(choice));
        loop.quit();
    });
    QObject::connect(&session, &instrument::SessionCore::CommunicationLost, &loop, [&] {
        status = kExitLostCommunication;
        loop.quit();
    });
    scanMemory::PrepareScan(session, store);
    if (!session.StartIdentification(choice.port, choice.address)) {
        return kExitUsage;
    }
    loop.exec();
    return status;
}

} // namespace

int IdentifyChosenInstrument(instrument::SessionCore& session, const InstrumentOptions& options,
                             modConfig::ConfigStore& store) {
    instrument::BindSystemPorts(store.GetConfigPath());
    const auto choice = options.Resolve(store);
    if (!choice) {
        return kExitUsage;
    }
    if (const std::string problem = instrument::PortOpenProblem(choice->port); !problem.empty()) {
        return Fail(kExitNotFound, "cannot open " + PortName(choice->port) + ": " + problem);
    }
    const int status = RunIdentification(session, *choice, store);
    if (status == kExitOk) {
        RememberChoice(store, *choice);
        scanMemory::RememberFoundAddress(session, store);
    }
    return status;
}

instrument::DownloadOutcome RunDownload(instrument::DownloadSession& session, bool showProgress) {
    QEventLoop loop;
    ProgressDisplay display;
    instrument::DownloadOutcome outcome = instrument::DownloadOutcome::LostCommunication;
    if (showProgress) {
        QObject::connect(
            &session, &instrument::DownloadSession::DownloadProgressChanged, &loop,
            [&](const instrument::DownloadView& view) { display.Show(view.progress); });
    }
    QObject::connect(&session, &instrument::DownloadSession::DownloadEnded, &loop,
                     [&](instrument::DownloadOutcome ended) {
                         outcome = ended;
                         loop.quit();
                     });
    // The end may come at once, before the loop runs.
    QMetaObject::invokeMethod(&session, &instrument::DownloadSession::StartDownload,
                              Qt::QueuedConnection);
    loop.exec();
    display.Finish();
    return outcome;
}

int ExitCodeOf(instrument::DownloadOutcome outcome) {
    switch (outcome) {
    case instrument::DownloadOutcome::Finished:
        return kExitOk;
    case instrument::DownloadOutcome::NoData:
        return kExitNoData;
    case instrument::DownloadOutcome::NotSameInstrument:
        return kExitNotSameInstrument;
    case instrument::DownloadOutcome::DecodingError:
        return kExitDecodingError;
    case instrument::DownloadOutcome::FastPortNotOpened:
        return kExitNotFound;
    default:
        return kExitLostCommunication;
    }
}

} // namespace kestrix::cli
