// Auto-detect against kestrix-sim --pace at 19200 bit/s: the time to find an instrument at
// address 50, to find it again where it was found last, and to give up when nothing answers;
// each beside the single full-timeout pass that was the scan before the quick pass.

#include "SimProcess.h"
#include "kestrix/instrument/DownloadSession.h"
#include "tolvex/PortTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPort = 9;
constexpr int kAddress = 50;
constexpr int kQuickMs = 100;
constexpr int kSinglePassMs = 1000; // a quick timeout no shorter than the full one: one pass

struct Outcome {
    bool found = false;
    int address = 0;
    double seconds = 0;
};

Outcome Scan(const std::vector<std::string>& simArguments, kestrix::instrument::ScanHints hints) {
    kestrix::sim::test::SimProcess sim(simArguments);
    if (!sim.WaitReady()) {
        return {};
    }
    tolvex::SetPortDevice(kPort, sim.Link());
    kestrix::instrument::DownloadSession session;
    session.SetScanHints(hints);
    QEventLoop loop;
    Outcome outcome;
    QObject::connect(&session, &kestrix::instrument::DownloadSession::IdentityShown, &loop, [&] {
        outcome.found = true;
        loop.quit();
    });
    QObject::connect(&session, &kestrix::instrument::DownloadSession::InstrumentNotFound, &loop,
                     &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    session.StartIdentification(kPort, 0);
    loop.exec();
    outcome.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    outcome.address = session.SlaveAddress();
    session.CloseConnections();
    return outcome;
}

void Report(const char* name, const Outcome& outcome) {
    std::printf("%-36s %-9s at %2d in %7.2f s\n", name, outcome.found ? "found" : "not found",
                outcome.found ? outcome.address : 0, outcome.seconds);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    char pattern[] = "/tmp/kestrix_bench_XXXXXX";
    const int fd = ::mkstemp(pattern);
    ::close(fd);
    std::ofstream(pattern) << R"({"preset": "standard", "identity": {"address": )" << kAddress
                           << "}}";
    const std::vector<std::string> atFifty{"--scenario", pattern, "--pace"};
    const std::vector<std::string> silent{"--preset", "standard", "--pace", "--silent"};
    const bool withSilent = !(argc > 1 && std::string(argv[1]) == "--no-silent");

    Report("address 50, nothing known", Scan(atFifty, {0, kQuickMs}));
    Report("address 50, single pass", Scan(atFifty, {0, kSinglePassMs}));
    Report("address 50, found there last time", Scan(atFifty, {kAddress, kQuickMs}));
    if (withSilent) {
        Report("no instrument", Scan(silent, {0, kQuickMs}));
        Report("no instrument, single pass", Scan(silent, {0, kSinglePassMs}));
    }
    ::unlink(pattern);
    return 0;
}
