// kestrix-cli archiving in processes of its own: killed in the middle, two at once, and the
// exit status of every archive command's outcome.

#include "ArchiveCliFixture.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/data/recordSetFile.h"
#include "support/SameRecordSet.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <fstream>
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

namespace kestrix::archive {
namespace {

using ::testing::HasSubstr;

class ArchiveProcesses : public ArchiveCliFixture {};

TEST_P(ArchiveProcesses, AnImportKilledInTheMiddleLeavesTheArchiveConsistent) {
    constexpr std::int32_t kRecords = 15000;
    WriteDownload("big.json", kRecords, 0);
    Archive(settings_).Instruments(); // the tables exist before the import starts
    QProcess import;
    Start(import, {"import", QString::fromStdString(Path("big.json"))});
    int heldPolls = 0;
    while (import.state() == QProcess::Running && heldPolls < 3) {
        heldPolls = WriterHoldsLock() ? heldPolls + 1 : 0;
        QThread::msleep(20);
    }
    import.kill();
    import.waitForFinished(-1);

    Archive archive(settings_);
    const VerifyResult verified = archive.Verify();
    EXPECT_TRUE(verified.intact) << verified.problem;
    EXPECT_TRUE(verified.records == 0 || verified.records == kRecords) << verified.records;
    EXPECT_EQ(Run({"import", QString::fromStdString(Path("big.json"))}).exitCode, 0);
    EXPECT_EQ(archive.Verify().records, kRecords);
}

TEST_P(ArchiveProcesses, TwoProcessesArchivingAtOnceLoseNothing) {
    constexpr std::int32_t kRecords = 3000;
    WriteDownload("first.json", kRecords, 0);
    WriteDownload("second.json", kRecords, kRecords / 2);
    QProcess first;
    QProcess second;
    Start(first, {"import", QString::fromStdString(Path("first.json"))});
    Start(second, {"import", QString::fromStdString(Path("second.json"))});
    first.waitForFinished(-1);
    second.waitForFinished(-1);
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();

    Archive archive(settings_);
    const VerifyResult verified = archive.Verify();
    EXPECT_TRUE(verified.intact) << verified.problem;
    EXPECT_EQ(verified.events, 2);
    EXPECT_EQ(verified.records, kRecords + kRecords / 2);
}

TEST_P(ArchiveProcesses, ListAndEventsAsJson) {
    WriteDownload("set.json", 12, 0);
    ASSERT_EQ(Run({"import", QString::fromStdString(Path("set.json"))}).exitCode, 0);
    const auto list = nlohmann::json::parse(Run({"list", "--json"}).out);
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0]["serial"], 7);
    EXPECT_EQ(list[0]["records"], 12);
    EXPECT_EQ(list[0]["downloads"], 1);
    EXPECT_EQ(list[0]["first"], "2026-03-01T08:00:00");
    const auto events = nlohmann::json::parse(Run({"events", "--json"}).out);
    ASSERT_EQ(events.size(), 1U);
    EXPECT_EQ(events[0]["kind"], "import");
}

struct StatusCase {
    const char* name;
    const char* config; // empty: the fixture's
    QStringList arguments;
    int exitCode;
    const char* message;
};

TEST_P(ArchiveProcesses, EachOutcomeHasItsOwnExitStatus) {
    WriteDownload("set.json", 12, 0);
    const QString set = QString::fromStdString(Path("set.json"));
    const QString out = QString::fromStdString(Path("out.json"));
    ASSERT_EQ(Run({"import", set}).exitCode, 0);
    const StatusCase cases[] = {
        {"export", "", {"export", "--serial", "7", "--json", out}, 0, ""},
        {"verify", "", {"verify"}, 0, ""},
        {"no such instrument", "", {"export", "--serial", "8", "--json", out}, 22, "no instrument"},
        {"nothing in range",
         "",
         {"export", "--serial", "7", "--from", "2030-01-01T00:00:00", "--json", out},
         23,
         "no record"},
        {"bad time",
         "",
         {"export", "--serial", "7", "--from", "yesterday", "--json", out},
         2,
         "date-time"},
        {"unreadable import", "", {"import", out + ".missing"}, 3, "cannot read"},
        {"sign no file",
         "",
         {"sign", "--file", out + ".missing", "--meaning", "approved", "--password-stdin"},
         3,
         "is no regular file"},
        {"sign nothing", "", {"sign", "--meaning", "approved"}, 2, "--download"},
        {"sign no download",
         "",
         {"sign", "--download", "99", "--meaning", "approved", "--password-stdin"},
         20,
         "is no download or import"},
        {"never signed", "", {"verify-file", set}, 26, "was never signed"},
        {"switched off", "[archive]\nenabled=0\n", {"list"}, 20, "switched off"},
        {"unreachable server",
         "[archive]\nurl=postgresql://nobody@127.0.0.1:1/none\n",
         {"list"},
         20,
         "cannot be opened"},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (*c.config != '\0') {
            WriteConfig(c.config);
        }
        const Outcome outcome = Run(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.err;
        EXPECT_THAT(outcome.err, HasSubstr(c.message));
    }
    auto exported = data::ReadRecordSetJson(Path("out.json"));
    ASSERT_TRUE(exported.recordSet) << exported.error;
    test_support::ExpectSameRecordSet(*data::ReadRecordSetJson(Path("set.json")).recordSet,
                                      *exported.recordSet);
}

TEST_P(ArchiveProcesses, ADamagedArchiveIsNamedByVerify) {
    WriteDownload("set.json", 12, 0);
    ASSERT_EQ(Run({"import", QString::fromStdString(Path("set.json"))}).exitCode, 0);
    Archive(settings_).Database().Run("UPDATE downloads SET record_total = 13");
    const Outcome outcome = Run({"verify"});
    EXPECT_EQ(outcome.exitCode, 21);
    EXPECT_THAT(outcome.err, HasSubstr("event 1 (import)"));
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveProcesses,
                         ::testing::Values(TestEngine::kSqlite, TestEngine::kPostgres), EngineName);

} // namespace
} // namespace kestrix::archive
