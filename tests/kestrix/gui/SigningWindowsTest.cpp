// Signing from the windows: a saved report signed through the classification dialog and through
// File > Sign..., the password checked by a PostgreSQL server of the test's own.

#include "MainWindowFixture.h"
#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/auditChain.h"
#include "kestrix/gui/cleanroom/ClassificationDialog.h"
#include "kestrix/gui/common/ArchiveLoginDialog.h"
#include "kestrix/gui/common/SignDialog.h"
#include "kestrix/window/mainCommands.h"
#include "support/FileBytes.h"
#include "support/MissingPeer.h"
#include "support/PostgresServer.h"

#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

namespace kestrix::gui::testing {
namespace {

using ::testing::HasSubstr;

constexpr const char* kSigner = "kestrix_window_signer";
constexpr const char* kRight = "right horse battery";

class SigningWindowTest : public MainWindowTest {
protected:
    // The archive on the test server, logged in to as a role that needs its password; roles
    // belong to the server, so they are made once.
    void SetUp() override {
        std::string why;
        test_support::PostgresServer* server = test_support::PostgresServer::Shared(why);
        if (server == nullptr) {
            SKIP_OR_FAIL_WITHOUT_PEER("no PostgreSQL server: " + why);
        }
        archive::ArchiveSettings owner;
        owner.url = server->NewDatabase();
        archive::Archive archive(owner);
        const QString once("DO $$ BEGIN CREATE ROLE %1; EXCEPTION WHEN duplicate_object THEN "
                           "NULL; END $$");
        const QString group(test_support::PostgresServer::kPasswordRole);
        archive.Database().Run(once.arg(group + " NOLOGIN"));
        archive.Database().Run(once.arg(
            QString("%1 LOGIN SUPERUSER PASSWORD '%2' IN ROLE %3").arg(kSigner, kRight, group)));
        QUrl url(QString::fromStdString(owner.url));
        url.setUserName(kSigner);
        url.setPassword(kRight);
        test_support::WriteFileBytes(
            folder.filePath("config.ini").toStdString(),
            "[archive]\nurl=" + url.toString(QUrl::FullyEncoded).toStdString() + "\n");
        MainWindowTest::SetUp();
    }

    // Signs with the meaning and password in the sign dialog; the sentence it then shows.
    static QString SignIn(QDialog& shown, const char* meaning, const char* password) {
        auto& dialog = dynamic_cast<SignDialog&>(shown);
        EXPECT_FALSE(dialog.SignButton()->isEnabled()) << "no meaning is chosen for the user";
        dialog.MeaningList()->setCurrentIndex(dialog.MeaningList()->findData(meaning));
        dialog.CommentBox()->setText("batch 7 released");
        dialog.PasswordBox()->setText(password);
        EXPECT_EQ(dialog.PasswordBox()->echoMode(), QLineEdit::Password);
        dialog.SignButton()->click();
        EXPECT_TRUE(dialog.PasswordBox()->text().isEmpty()) << "the password is not kept";
        return dialog.Status()->text();
    }

    std::vector<archive::ArchiveEvent> Events(const char* kind) const {
        std::vector<archive::ArchiveEvent> found;
        for (const archive::EventEntry& entry : ArchivedEvents()) {
            if (entry.event.kind == kind) {
                found.push_back(entry.event);
            }
        }
        return found;
    }
};

TEST_F(SigningWindowTest, ASavedReportIsSignedWithTheRightPasswordOnly) {
    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Counter 5000")));
    const QString report = Path("report.json");
    dialogs.files = {{report, 2}, {report, 0}};
    QString facts;
    QString signedText;
    dialogs.onModal = [&](QDialog& shown) {
        if (auto* classification = dynamic_cast<ClassificationDialog*>(&shown)) {
            classification->findChild<QLineEdit*>("txtSizes")->setText("0.5");
            EXPECT_FALSE(classification->SignButton()->isEnabled()) << "nothing saved yet";
            classification->SaveButton()->click();
            classification->SignButton()->click();
            return;
        }
        for (const QLabel* label : shown.findChildren<QLabel*>()) {
            facts += label->text() + '\n';
        }
        signedText = SignIn(shown, "approved", kRight);
    };
    window->RunCommand(window::MainCommand::CleanroomClassification);
    EXPECT_THAT(facts.toStdString(), HasSubstr("report.json"));
    EXPECT_THAT(signedText.toStdString(), HasSubstr(std::string("Signed: approved by ") + kSigner));

    QString refusedText;
    dialogs.onModal = [&](QDialog& shown) { refusedText = SignIn(shown, "reviewed", "wrong"); };
    window->RunCommand(window::MainCommand::Sign);
    EXPECT_EQ(refusedText, "The password is wrong; nothing was signed (1 of 3 tries)");
    EXPECT_TRUE(dialogs.messages.empty());

    const std::vector<archive::ArchiveEvent> signatures = Events(archive::kEventSignature);
    ASSERT_EQ(signatures.size(), 1U);
    EXPECT_EQ(signatures[0].userName, kSigner);
    EXPECT_THAT(signatures[0].details, HasSubstr("batch 7 released"));
    // The report was written again with its signature; the archive knows that copy too.
    const std::string bytes = test_support::ReadFileBytes(report.toStdString());
    const auto shown = nlohmann::json::parse(bytes)["electronic_signatures"];
    EXPECT_EQ(shown["signatures"][0]["user"], kSigner);
    EXPECT_EQ(shown["signed_sha256"], signatures[0].recordsHash);
    const std::vector<archive::ArchiveEvent> copies = Events(archive::kEventSignedCopy);
    ASSERT_EQ(copies.size(), 1U);
    EXPECT_EQ(copies[0].recordsHash,
              QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
                  .toHex()
                  .toStdString());
    EXPECT_EQ(Events(archive::kEventSignatureRefused).size(), 1U);
}

TEST_F(SigningWindowTest, AServerArchiveAsksForThePasswordOnceInARun) {
    QUrl url(
        QString::fromStdString(archive::ReadArchiveSettings(Path("config.ini").toStdString()).url));
    url.setPassword({});
    test_support::WriteFileBytes(Path("config.ini").toStdString(),
                                 "[archive]\nurl=" + url.toString().toStdString() + "\n");
    std::vector<bool> refused;
    int archiveDialogs = 0;
    dialogs.onModal = [&](QDialog& shown) {
        if (auto* login = dynamic_cast<ArchiveLoginDialog*>(&shown)) {
            EXPECT_EQ(login->PasswordBox()->echoMode(), QLineEdit::Password);
            refused.push_back(!login->Status()->text().isEmpty());
            login->PasswordBox()->setText(refused.size() == 1 ? "wrong" : kRight);
            login->LogInButton()->click();
            return;
        }
        ++archiveDialogs;
        shown.reject();
    };
    window->RunCommand(window::MainCommand::OpenFromArchive);
    window->RunCommand(window::MainCommand::OpenFromArchive);
    EXPECT_EQ(refused, (std::vector<bool>{false, true}));
    EXPECT_EQ(archiveDialogs, 2);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, SignIsDisabledWhileTheArchiveIsSwitchedOff) {
    EXPECT_TRUE(window->Action(window::MainCommand::Sign)->isEnabled());
    test_support::WriteFileBytes(Path("config.ini").toStdString(), "[archive]\nenabled=no\n");
    OpenWindow();
    EXPECT_FALSE(window->Action(window::MainCommand::Sign)->isEnabled());
}

} // namespace
} // namespace kestrix::gui::testing
