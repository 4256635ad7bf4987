#include "kestrix/cli/SessionRun.h"

#include "kestrix/cli/ConsolePrompts.h"
#include "kestrix/cli/ProgressDisplay.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/instrument/sessionTexts.h"

#include <QEventLoop>

namespace kestrix::cli {

namespace {

int RunIdentification(DownloadSession& session, const InstrumentChoice& choice) {
    QEventLoop loop;
    int status = kExitOk;
    QObject::connect(&session, &ConnectionSession::IdentityShown, &loop, [&] { loop.quit(); });
    QObject::connect(&session, &ConnectionSession::InstrumentNotFound, &loop, [&] {
        status = Fail(kExitNotFound, ConsoleLines(sessionTexts::NotFoundText()));
        loop.quit();
    });
    QObject::connect(&session, &ConnectionSession::CommunicationLost, &loop, [&] {
        status = kExitLostCommunication;
        loop.quit();
    });
    if (!session.StartIdentification(choice.port, choice.address)) {
        return kExitUsage;
    }
    loop.exec();
    return status;
}

} // namespace

int IdentifyChosenInstrument(DownloadSession& session, const InstrumentOptions& options,
                             modConfig::ConfigStore& store) {
    const auto choice = options.Resolve(store);
    if (!choice) {
        return kExitUsage;
    }
    const int status = RunIdentification(session, *choice);
    if (status == kExitOk) {
        RememberChoice(store, *choice);
    }
    return status;
}

DownloadOutcome RunDownload(DownloadSession& session, bool showProgress) {
    QEventLoop loop;
    ProgressDisplay display;
    DownloadOutcome outcome = DownloadOutcome::LostCommunication;
    if (showProgress) {
        QObject::connect(&session, &DownloadSession::DownloadProgressChanged, &loop,
                         [&] { display.Show(session.View().progress); });
    }
    QObject::connect(&session, &DownloadSession::DownloadEnded, &loop, [&](DownloadOutcome ended) {
        outcome = ended;
        loop.quit();
    });
    // The end may come at once, before the loop runs.
    QMetaObject::invokeMethod(&session, &DownloadSession::StartDownload, Qt::QueuedConnection);
    loop.exec();
    display.Finish();
    return outcome;
}

int ExitCodeOf(DownloadOutcome outcome) {
    switch (outcome) {
    case DownloadOutcome::Finished:
        return kExitOk;
    case DownloadOutcome::NoData:
        return kExitNoData;
    case DownloadOutcome::NotSameInstrument:
        return kExitNotSameInstrument;
    case DownloadOutcome::DecodingError:
        return kExitDecodingError;
    default:
        return kExitLostCommunication;
    }
}

} // namespace kestrix::cli
