// Who did what: every event names its user and time, set by the server on PostgreSQL whatever
// a client sends, and archive events lists and filters them.

#include "ArchiveCliFixture.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/archive/auditChain.h"

#include <QSqlQuery>
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

namespace kestrix::archive {
namespace {

class ArchiveEvents : public ArchiveCliFixture {
protected:
    nlohmann::json Listed(const QStringList& filter) const {
        const Outcome listed = Run(QStringList{"events", "--json"} + filter);
        EXPECT_EQ(listed.exitCode, 0) << listed.err;
        return nlohmann::json::parse(listed.out, nullptr, false);
    }

    std::string ExpectedUser() const {
        return settings_.url.empty() ? CurrentUserName() : "postgres";
    }
};

TEST_P(ArchiveEvents, EveryEventNamesItsUserAndTimeAndTheFiltersSelect) {
    WriteDownload("set.json", 12, 0);
    ASSERT_EQ(Run({"import", QString::fromStdString(Path("set.json"))}).exitCode, 0);
    Archive(settings_).Note(ExportNote(*MakeDownload("Model 9", 7, 12), "table.xlsx"));

    const nlohmann::json all = Listed({});
    ASSERT_EQ(all.size(), 2U);
    for (const auto& event : all) {
        EXPECT_EQ(event["user"], ExpectedUser());
        EXPECT_EQ(event["name"], settings_.url.empty() ? CurrentFullName() : "");
        EXPECT_TRUE(event["time"].is_string() && event["details"].is_string()) << event;
    }
    EXPECT_EQ(all[0]["kind"], "import");
    EXPECT_TRUE(all[0]["download"].is_number());

    const std::string first = all[0]["time"];
    struct FilterCase {
        QStringList filter;
        std::size_t events;
    };
    const FilterCase cases[] = {
        {{"--kind", "import"}, 1},
        {{"--kind", "export", "--user", QString::fromStdString(ExpectedUser())}, 1},
        {{"--user", "nobody"}, 0},
        {{"--serial", "7", "--kind", "import"}, 1},
        {{"--serial", "8"}, 0},
        {{"--model", "Model 4"}, 0},
        {{"--from", QString::fromStdString(first)}, 2},
        {{"--from", "2999-01-01T00:00:00"}, 0},
        {{"--to", "2000-01-01"}, 0},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.filter.join(' ').toStdString());
        EXPECT_EQ(Listed(c.filter).size(), c.events);
    }
    EXPECT_EQ(Run({"events", "--from", "yesterday"}).exitCode, 2);
}

class ServerEvents : public ArchiveEvents {};

TEST_P(ServerEvents, AForgedUserAndTimeAreReplacedByTheServersAndTheChainHolds) {
    WriteDownload("set.json", 12, 0);
    ASSERT_EQ(Run({"import", QString::fromStdString(Path("set.json"))}).exitCode, 0);
    {
        Archive archive(settings_);
        WriteTransaction transaction(archive.Database());
        ArchiveEvent forged;
        forged.happenedAt = "1999-01-01T00:00:00";
        forged.userName = "mallory";
        forged.fullName = "Mallory";
        forged.host = "elsewhere";
        forged.kind = kEventExport;
        forged.details = "{}";
        AppendEvent(archive.Database(), forged);
        transaction.Commit();
    }
    const nlohmann::json events = Listed({});
    ASSERT_EQ(events.size(), 2U);
    EXPECT_EQ(events[1]["user"], "postgres");
    EXPECT_EQ(events[1]["name"], "");
    EXPECT_NE(events[1]["time"], "1999-01-01T00:00:00");
    EXPECT_EQ(events[1]["host"], "elsewhere");
    const Outcome verified = Run({"verify"});
    EXPECT_EQ(verified.exitCode, 0) << verified.err;
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveEvents,
                         ::testing::Values(TestEngine::kSqlite, TestEngine::kPostgres), EngineName);
INSTANTIATE_TEST_SUITE_P(Server, ServerEvents, ::testing::Values(TestEngine::kPostgres),
                         EngineName);

} // namespace
} // namespace kestrix::archive
