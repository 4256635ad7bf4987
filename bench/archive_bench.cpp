// The download archive: archiving a full IAQ memory (65,535 records, 16 + 16 channels), the
// archive's bytes per record, and exporting one month of one instrument (43,200 records) from an
// archive of about half a million records, with the record-set file an export writes. SQLite by
// default; --postgres runs the same against a PostgreSQL server on loopback that it starts itself.
// Prints its figures.

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/auditChain.h"
#include "kestrix/data/recordSetFile.h"
#include "support/PostgresServer.h"
#include "support/SampleRecordSet.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;
using kestrix::data::clsDataRecordSet;
namespace archive = kestrix::archive;

constexpr int kInstruments = 8; // 8 x 65,535 = 524,280 records
constexpr std::int32_t kMonthRecords = 43200;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The process's own processor time, which a busy machine does not stretch as it does the wall
// clock.
double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// The same memory as another instrument's.
std::unique_ptr<clsDataRecordSet> AsInstrument(clsDataRecordSet& memory, std::int32_t serial) {
    auto copy = std::make_unique<clsDataRecordSet>();
    std::vector<std::string> particles;
    std::vector<bool> alarms;
    std::vector<std::int32_t> thresholds;
    for (std::int16_t c = 0; c < memory.GetPartChanCount(); ++c) {
        particles.push_back(memory.GetPartChanType(c));
        alarms.push_back(memory.GetPartChanAlarm(c));
        thresholds.push_back(memory.GetPartChanHighThreshold(c));
    }
    std::vector<std::string> analogs;
    std::vector<std::string> units;
    for (std::int16_t c = 0; c < memory.GetAnalogChanCount(); ++c) {
        analogs.push_back(memory.GetAnalogChanType(c));
        units.push_back(memory.GetAnalogChanUnits(c));
    }
    std::string flowUnits = memory.GetSensorFlowRateUnits();
    copy->Init(memory.GetSensorName(), serial, memory.GetSensorFlowRate(), flowUnits,
               memory.GetParticleDensity(), memory.RecordCount(), memory.GetSampleTimeUnits(),
               particles, analogs, units, alarms, thresholds);
    for (std::int32_t row = 0; row < memory.RecordCount(); ++row) {
        copy->RecordCopy(row, memory.Record(row));
    }
    return copy;
}

void ReportSqliteSize(const archive::ArchiveSettings& settings, std::int64_t records) {
    if (!settings.url.empty()) {
        return;
    }
    const auto bytes = QFileInfo(QString::fromStdString(settings.sqlitePath)).size();
    std::printf("  SQLite file %.1f MB: %.0f bytes per record\n",
                static_cast<double>(bytes) / (1024.0 * 1024.0),
                static_cast<double>(bytes) / static_cast<double>(records));
}

// The record-set file of an export, timed alone and with the query that began at queryStart.
void WriteExport(clsDataRecordSet& exported, Clock::time_point queryStart) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("month.json").toStdString();
    std::string error;
    const auto start = Clock::now();
    if (!kestrix::data::WriteRecordSetJson(exported, path, error)) {
        throw std::runtime_error(error);
    }
    std::printf("  its record-set file (%.1f MB) written in %.2f s; query and file %.2f s\n",
                static_cast<double>(QFileInfo(QString::fromStdString(path)).size()) /
                    (1024.0 * 1024.0),
                SecondsSince(start), SecondsSince(queryStart));
}

void Run(const archive::ArchiveSettings& single, const archive::ArchiveSettings& large) {
    auto memory = kestrix::bench::BuildSampleRecordSet();
    {
        archive::Archive archive(single);
        const auto start = Clock::now();
        const double cpu = CpuSeconds();
        const auto stored = archive.Store(*memory, {archive::kEventDownload, 150});
        std::printf("archived %d records (16 + 16 channels) in %.2f s (%.2f s processor time)\n",
                    stored.newRecords, SecondsSince(start), CpuSeconds() - cpu);
        const auto again = Clock::now();
        archive.Store(*memory, {archive::kEventDownload, 150});
        std::printf("the same memory again (no new record) in %.2f s\n", SecondsSince(again));
    }
    ReportSqliteSize(single, memory->RecordCount());

    std::int64_t total = 0;
    {
        archive::Archive archive(large);
        for (int serial = 1; serial <= kInstruments; ++serial) {
            total += archive.Store(*AsInstrument(*memory, serial), {archive::kEventDownload, 150})
                         .newRecords;
        }
        const archive::RecordQuery month{3,
                                         "",
                                         memory->Record(0)->GetTimeStamp(),
                                         memory->Record(kMonthRecords - 1)->GetTimeStamp(),
                                         {}};
        const auto start = Clock::now();
        const double cpu = CpuSeconds();
        const auto exported = archive.Query(month).recordSet;
        std::printf("exported %d records (one month of one instrument) from %lld in %.2f s "
                    "(%.2f s processor time)\n",
                    exported->RecordCount(), static_cast<long long>(total), SecondsSince(start),
                    CpuSeconds() - cpu);
        WriteExport(*exported, start);
        const auto verifyStart = Clock::now();
        const double verifyCpu = CpuSeconds();
        const auto verified = archive.Verify();
        std::printf("verified %lld records (%s) in %.2f s (%.2f s processor time)\n",
                    static_cast<long long>(verified.records),
                    verified.intact ? "intact" : verified.problem.c_str(),
                    SecondsSince(verifyStart), CpuSeconds() - verifyCpu);
    }
    ReportSqliteSize(large, total);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    archive::ArchiveSettings single;
    archive::ArchiveSettings large;
    single.sqlitePath = folder.filePath("single.sqlite").toStdString();
    large.sqlitePath = folder.filePath("large.sqlite").toStdString();
    if (argc > 1 && std::strcmp(argv[1], "--postgres") == 0) {
        std::string why;
        test_support::PostgresServer* server = test_support::PostgresServer::Shared(why);
        if (server == nullptr) {
            std::fprintf(stderr, "no PostgreSQL server: %s\n", why.c_str());
            return 1;
        }
        single.url = server->NewDatabase();
        large.url = server->NewDatabase();
        std::printf("PostgreSQL on loopback\n");
    } else {
        std::printf("SQLite\n");
    }
    try {
        Run(single, large);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
