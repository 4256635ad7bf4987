// A PostgreSQL archive set up by its owner with kestrix-cli archive setup-server: the groups'
// rights, append-only audit tables, the server's own user, and signing kept to reviewers.

#include "ArchiveCliFixture.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/passwordCheck.h"
#include "kestrix/archive/sessionPassword.h"

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

    // A reviewer who logs in with their password; its url names none.
    ArchiveSettings PasswordUser(const QString& name, const QByteArray& password) {
        QSqlDatabase probe = OpenProbe("admin");
        const QString group(test_support::PostgresServer::kPasswordRole);
        QSqlQuery(probe).exec("CREATE ROLE " + group + " NOLOGIN");
        AddUser(name, "reviewer", password);
        QSqlQuery(probe).exec("GRANT " + group + " TO " + name);
        CloseProbe(probe);
        return As(name);
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
    const char* passwords[] = {"a password", "Grüße\u00a0½ straße"};
    for (const char* password : passwords) {
        SCOPED_TRACE(password);
        const ArchiveSettings user = PasswordUser("pw_user", password);
        QSqlDatabase probe = OpenProbe("admin");
        {
            QSqlQuery query(probe);
            query.exec("SELECT rolpassword FROM pg_authid WHERE rolname = 'pw_user'");
            EXPECT_THAT(query.next() ? query.value(0).toString().toStdString() : "",
                        ::testing::StartsWith("SCRAM-SHA-256$4096:"));
        }
        CloseProbe(probe);
        EXPECT_EQ(CheckServerPassword(user, password), PasswordVerdict::kAccepted);
        EXPECT_EQ(CheckServerPassword(user, "a wrong one"), PasswordVerdict::kRefused);
    }
}

TEST_P(ServerSetup, TheSessionPasswordIsAskedUntilRightThenKeptButNeverSigns) {
    ASSERT_EQ(Run({"setup-server"}).exitCode, 0);
    const ArchiveSettings carl = PasswordUser("pw_carl", "the right one");
    struct Case {
        const char* name;
        std::vector<std::optional<std::string>> answers;
        const char* refusal; // empty: it opens
        std::vector<bool> askedRefused;
    };
    const Case cases[] = {
        {"right after a wrong one", {"a wrong one", "the right one"}, "", {false, true}},
        {"given up", {std::nullopt}, "none was given", {false}},
        {"wrong three times",
         {"a", "b", "c"},
         "password authentication failed",
         {false, true, true}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ForgetSessionPassword(carl.url);
        std::vector<bool> asked;
        SetSessionPasswordPrompt([&](const std::string& place, bool refused) {
            EXPECT_EQ(place, carl.url);
            asked.push_back(refused);
            return asked.size() <= test.answers.size() ? test.answers[asked.size() - 1]
                                                       : std::nullopt;
        });
        try {
            const ArchiveDatabase first(carl, Access::kRead);
            const ArchiveDatabase second(carl, Access::kRead);
            EXPECT_STREQ(test.refusal, "");
        } catch (const ArchiveLoginRefused& error) {
            EXPECT_THAT(error.what(), HasSubstr(test.refusal));
            EXPECT_STRNE(test.refusal, "");
        }
        EXPECT_EQ(asked, test.askedRefused);
    }
    SetSessionPasswordPrompt({});
    // The session's password is no signature: a signer always types their own.
    KeepSessionPassword(carl.url, "the right one");
    EXPECT_EQ(CheckServerPassword(carl, ""), PasswordVerdict::kRefused);
    ForgetSessionPassword(carl.url);
}

TEST_P(ServerSetup, KestrixCliAsksForTheSessionPasswordOnTheTerminal) {
    ASSERT_EQ(Run({"setup-server"}).exitCode, 0);
    WriteConfig("[archive]\nurl=" + PasswordUser("pw_dora", "the right one").url + "\n");
    const std::string prompt = "Password for the archive " + As("pw_dora").url + ": ";
    const Outcome listed = RunOnTerminal(
        {"list"}, {{prompt, "a wrong one"}, {"refused it. " + prompt, "the right one"}});
    EXPECT_EQ(listed.exitCode, 0) << listed.out;
    EXPECT_EQ(listed.out.find("right one"), std::string::npos) << "no echo";
}

INSTANTIATE_TEST_SUITE_P(Server, ServerSetup, ::testing::Values(TestEngine::kPostgres), EngineName);

} // namespace
} // namespace kestrix::archive
