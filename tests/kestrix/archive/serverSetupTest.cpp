// A PostgreSQL archive set up by its owner with kestrix-cli archive setup-server: the groups'
// rights, append-only audit tables, the server's own user, and signing kept to reviewers.

#include "ArchiveCliFixture.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/passwordCheck.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

namespace kestrix::archive {
namespace {

using ::testing::HasSubstr;

class ServerSetup : public ArchiveCliFixture {
protected:
    // The settings of the fixture's archive as the user logs in, without a password: the
    // test server trusts every user but the password group's.
    ArchiveSettings As(const QString& user) const {
        QUrl url(QString::fromStdString(settings_.url));
        url.setUserName(user);
        ArchiveSettings settings = settings_;
        settings.url = url.toString().toStdString();
        return settings;
    }

    void AddUser(const QString& name, const QString& role,
                 const QByteArray& password = "a password") {
        const Outcome added = Run({"setup-server", "--add-user", name, "--role", role,
                                   "--full-name", "Test " + name, "--password-stdin"},
                                  password + "\n");
        ASSERT_EQ(added.exitCode, 0) << added.err;
    }
};

TEST_P(ServerSetup, GroupsAppendButChangeNothingAndOnlyReviewersSign) {
    const Outcome setUp = Run({"setup-server"});
    ASSERT_EQ(setUp.exitCode, 0) << setUp.err;
    AddUser("op_anna", "operator");
    AddUser("rev_ben", "reviewer");
    WriteConfig("[archive]\nurl=" + As("op_anna").url + "\n");
    WriteDownload("set.json", 12, 0);
    const Outcome imported = Run({"import", QString::fromStdString(Path("set.json"))});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;

    Archive operatorArchive(As("op_anna"));
    struct Change {
        const char* statement;
        const char* refusal;
    };
    const Change changes[] = {
        {"UPDATE events SET user_name = 'someone'", "permission denied"},
        {"DELETE FROM records", "permission denied"},
        {"TRUNCATE downloads", "permission denied"},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.statement);
        try {
            operatorArchive.Database().Run(change.statement);
            ADD_FAILURE() << "the change was made";
        } catch (const ArchiveError& error) {
            EXPECT_THAT(error.what(), HasSubstr(change.refusal));
        }
    }
    // The owner is held back by the triggers.
    EXPECT_THROW(Archive(settings_).Database().Run("DELETE FROM events"), ArchiveError);

    EXPECT_EQ(nlohmann::json::parse(Run({"events", "--json", "--kind", "user added"}).out).size(),
              2U);
    const auto events = nlohmann::json::parse(Run({"events", "--json", "--kind", "import"}).out);
    ASSERT_EQ(events.size(), 1U);
    EXPECT_EQ(events[0]["user"], "op_anna");
    EXPECT_EQ(events[0]["name"], "Test op_anna");

    const QStringList sign = {
        "sign",      "--download", QString::number(events[0]["id"].get<int>()),
        "--meaning", "reviewed",   "--password-stdin"};
    const Outcome operatorSigns = Run(sign, "a password\n");
    EXPECT_EQ(operatorSigns.exitCode, 20);
    EXPECT_THAT(operatorSigns.err, HasSubstr("may not sign"));
    WriteConfig("[archive]\nurl=" + As("rev_ben").url + "\n");
    const Outcome reviewerSigns = Run(sign, "a password\n");
    EXPECT_EQ(reviewerSigns.exitCode, 0) << reviewerSigns.err;
    EXPECT_EQ(Run({"verify"}).exitCode, 0);
}

TEST_P(ServerSetup, APasswordTravelsOnlyAsItsVerifierAndLogsIn) {
    ASSERT_EQ(Run({"setup-server"}).exitCode, 0);
    const QString group(test_support::PostgresServer::kPasswordRole);
    QSqlDatabase probe = OpenProbe("admin");
    QSqlQuery(probe).exec("CREATE ROLE " + group + " NOLOGIN");
    const char* passwords[] = {"a password", "Grüße\u00a0½ straße"};
    for (const char* password : passwords) {
        SCOPED_TRACE(password);
        AddUser("pw_user", "reviewer", password);
        QSqlQuery query(probe);
        query.exec("GRANT " + group + " TO pw_user");
        ASSERT_TRUE(query.exec("SELECT rolpassword FROM pg_authid WHERE rolname = 'pw_user'") &&
                    query.next());
        EXPECT_THAT(query.value(0).toString().toStdString(),
                    ::testing::StartsWith("SCRAM-SHA-256$4096:"));
        EXPECT_EQ(CheckServerPassword(As("pw_user"), password), PasswordVerdict::kAccepted);
        EXPECT_EQ(CheckServerPassword(As("pw_user"), "a wrong one"), PasswordVerdict::kRefused);
    }
    CloseProbe(probe);
}

INSTANTIATE_TEST_SUITE_P(Server, ServerSetup, ::testing::Values(TestEngine::kPostgres), EngineName);

} // namespace
} // namespace kestrix::archive
