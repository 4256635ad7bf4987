// Download of 2,000 records from kestrix-sim --pace: records per second over Modbus ASCII at
// 19200 bit/s and over the fast transfer at 115200 bit/s, each against the rate the line allows
// for the bytes the instrument sends (10 bits a byte: start, 8 data, stop). Requests cost no
// line time on a pseudo-terminal, so they are left out of the limit and shown separately.

#include "SimProcess.h"
#include "kestrix/instrument/DownloadSession.h"
#include "tolvex/PortTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

using kestrix::instrument::DownloadOutcome;
using kestrix::instrument::DownloadSession;

constexpr int kRecords = 2000;
constexpr int kPort = 9;
constexpr double kBitsPerByte = 10;

// Modbus ASCII frame length: ':', the binary bytes as two hex digits each, the LRC, CR LF.
double AsciiFrameBytes(int binaryBytes) {
    return 1 + 2 * (binaryBytes + 1) + 2;
}

struct Wire {
    double replyBytesPerRecord;
    double requestBytesPerRecord;
    double bitRate;
};

// Pointer write (echoed) and a read of 74 input registers per record.
Wire ModbusWire() {
    const double write = AsciiFrameBytes(6);
    const double readRequest = AsciiFrameBytes(6);
    const double readReply = AsciiFrameBytes(3 + 2 * 74);
    return {write + readReply, write + readRequest, 19200};
}

// 48 bytes a record, one checksum byte and a 13-character command per 200 records.
Wire FastWire() {
    return {48 + 1.0 / 200, 13.0 / 200, 115200};
}

struct Measurement {
    std::optional<DownloadOutcome> outcome;
    double seconds = 0;
    int records = 0;
};

// Times the record phase: from the first record request to the last record.
Measurement Download(const std::string& scenarioJson) {
    char pattern[] = "/tmp/kestrix_bench_XXXXXX";
    const int fd = ::mkstemp(pattern);
    ::close(fd);
    std::ofstream(pattern) << scenarioJson;
    kestrix::sim::test::SimProcess sim({"--scenario", pattern, "--pace"});
    Measurement measurement;
    if (!sim.WaitReady()) {
        ::unlink(pattern);
        return measurement;
    }
    tolvex::SetPortDevice(kPort, sim.Link());
    DownloadSession session;
    QEventLoop loop;
    QObject::connect(
        &session, &DownloadSession::NoticeShown, &loop,
        [](kestrix::instrument::MessageIcon, const std::string& title, const std::string& text) {
            std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        });
    QObject::connect(&session, &DownloadSession::IdentityShown, &loop, &QEventLoop::quit);
    QObject::connect(&session, &DownloadSession::InstrumentNotFound, &loop, &QEventLoop::quit);
    session.StartIdentification(kPort, 1);
    loop.exec();
    QElapsedTimer clock;
    int firstRecords = -1;
    const auto startClock = [&](int recordsBefore) {
        if (firstRecords < 0) {
            firstRecords = recordsBefore;
            clock.start();
        }
    };
    QObject::connect(&session, &DownloadSession::FastCommandSent, &loop,
                     [&] { startClock(session.RecordsDone()); });
    QObject::connect(&session, &DownloadSession::DownloadProgressChanged, &loop, [&] {
        if (session.RecordsDone() == 1 && !session.Identity().fastTransfer) {
            startClock(1);
        }
    });
    QObject::connect(&session, &DownloadSession::DownloadEnded, &loop,
                     [&](DownloadOutcome outcome) {
                         measurement.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
                         measurement.records = session.RecordsDone() - firstRecords;
                         measurement.outcome = outcome;
                         loop.quit();
                     });
    if (session.IsIdentified()) {
        session.StartDownload();
        loop.exec();
    }
    session.CloseConnections();
    ::unlink(pattern);
    return measurement;
}

void Report(const char* name, const Measurement& measurement, const Wire& wire) {
    if (measurement.outcome != DownloadOutcome::Finished || measurement.seconds <= 0) {
        std::printf("%-8s download did not finish\n", name);
        return;
    }
    const double rate = measurement.records / measurement.seconds;
    const double limit = wire.bitRate / (kBitsPerByte * wire.replyBytesPerRecord);
    const double halfDuplexLimit =
        wire.bitRate / (kBitsPerByte * (wire.replyBytesPerRecord + wire.requestBytesPerRecord));
    std::printf("%-8s %5d records in %7.2f s: %8.2f records/s; line limit %8.2f records/s "
                "(ratio %.3f); with requests on the line %8.2f records/s (ratio %.3f)\n",
                name, measurement.records, measurement.seconds, rate, limit, rate / limit,
                halfDuplexLimit, rate / halfDuplexLimit);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const std::string generate =
        R"("generate": {"count": )" + std::to_string(kRecords) + R"(, "seed": 7})";
    const bool fastOnly = argc > 1 && std::string(argv[1]) == "--fast-only";
    Report("fast", Download(R"({"preset": "iaq-fast", )" + generate + "}"), FastWire());
    if (!fastOnly) {
        Report("modbus",
               Download(R"({"preset": "standard", "location_names": [], )" + generate + "}"),
               ModbusWire());
    }
    return 0;
}
