// Electronic signatures through kestrix-cli: the password asked again (PAM on SQLite, through
// pam_wrapper and pam_matrix; a fresh server login on PostgreSQL), wrong ones noted and three
// in a row locking, and a signature bound to exactly what was signed.

#include "ArchiveCliFixture.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/archive/auditChain.h"
#include "kestrix/base/dateTime.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/recordSetFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSqlQuery>
#include <QUrl>
#include <algorithm>
#include <fstream>
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

namespace kestrix::archive {
namespace {

using ::testing::HasSubstr;

constexpr const char* kRight = "right horse battery";
constexpr const char* kWrong = "wrong horse battery";
constexpr const char* kServerSigner = "kestrix_signer";

class Signing : public ArchiveCliFixture {
protected:
    void SetUp() override {
        ArchiveCliFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        if (settings_.url.empty()) {
            UsePamMatrix();
        } else {
            UseServerSigner();
        }
    }

    // kestrix-cli asks PAM through pam_wrapper, whose service "kestrix" is pam_matrix with a
    // password of the test's own for the user this runs as.
    void UsePamMatrix() {
        if (QString(KESTRIX_PAM_WRAPPER).isEmpty() || QString(KESTRIX_PAM_MATRIX).isEmpty()) {
            SKIP_OR_FAIL_WITHOUT_PEER("pam_wrapper is not installed (libpam-wrapper)");
        }
        ASSERT_TRUE(QDir(folder_.path()).mkpath("pam.d"));
        const std::string passwords = Path("passdb");
        std::ofstream(passwords) << CurrentUserName() << ':' << kRight << ":kestrix\n";
        const std::string module = std::string(KESTRIX_PAM_MATRIX) + " passdb=" + passwords;
        std::ofstream(Path("pam.d/kestrix")) << "auth required " << module << "\n"
                                             << "account required " << module << "\n";
        environment_.insert("LD_PRELOAD", KESTRIX_PAM_WRAPPER);
        environment_.insert("PAM_WRAPPER", "1");
        environment_.insert("PAM_WRAPPER_SERVICE_DIR", QString::fromStdString(Path("pam.d")));
        // The sanitizer runtime refuses RTLD_DEEPBIND; pam_wrapper reads uid_wrapper's name for
        // switching it off.
        environment_.insert("UID_WRAPPER_DISABLE_DEEPBIND", "1");
        // The sanitizer runtime is no longer the first library loaded.
        environment_.insert("ASAN_OPTIONS",
                            environment_.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    }

    // A server role that logs in with its password; roles are the server's, made once.
    void UseServerSigner() {
        QSqlDatabase probe = OpenProbe("admin");
        {
            QSqlQuery query(probe);
            const QString group(test_support::PostgresServer::kPasswordRole);
            query.exec("CREATE ROLE " + group + " NOLOGIN");
            query.exec(QString("CREATE ROLE %1 LOGIN SUPERUSER PASSWORD '%2' IN ROLE %3")
                           .arg(QString(kServerSigner), QString(kRight), group));
        }
        CloseProbe(probe);
        QUrl url(QString::fromStdString(settings_.url));
        url.setUserName(kServerSigner);
        url.setPassword(QString(kRight));
        // Encoded: the password's spaces are no part of a url.
        settings_.url = url.toString(QUrl::FullyEncoded).toStdString();
        WriteConfig("[archive]\nurl=" + settings_.url + "\n");
    }

    std::string Signer() const { return settings_.url.empty() ? CurrentUserName() : kServerSigner; }

    nlohmann::json Events(const QString& kind) const {
        const Outcome listed = Run({"events", "--json", "--kind", kind});
        EXPECT_EQ(listed.exitCode, 0) << listed.err;
        return nlohmann::json::parse(listed.out, nullptr, false);
    }

    // The event number of each import, oldest first.
    std::vector<std::string> ImportDownloads(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string name = "set" + std::to_string(i) + ".json";
            WriteDownload(name, 12, 100 * i);
            EXPECT_EQ(Run({"import", QString::fromStdString(Path(name))}).exitCode, 0);
        }
        std::vector<std::string> ids;
        for (const auto& event : Events("import")) {
            ids.push_back(std::to_string(event["id"].get<std::int64_t>()));
        }
        return ids;
    }

    Outcome Sign(const QStringList& target, const char* password) const {
        return Run(QStringList{"sign"} + target +
                       QStringList{"--meaning", "approved", "--comment", "batch 7 released",
                                   "--password-stdin"},
                   QByteArray(password) + "\n");
    }
};

TEST_P(Signing, ASignedReportIsKnownByItsBytesAndTheChainStaysIntact) {
    const QString report = QString::fromStdString(Path("report.csv"));
    std::ofstream(Path("report.csv")) << "Room,Verdict\nFill 3,pass\n";
    const Outcome signedReport = Sign({"--file", report}, kRight);
    ASSERT_EQ(signedReport.exitCode, 0) << signedReport.err;

    const nlohmann::json signatures = Events("signature");
    ASSERT_EQ(signatures.size(), 1U);
    EXPECT_EQ(signatures[0]["user"], Signer());
    const auto details = nlohmann::json::parse(signatures[0]["details"].get<std::string>());
    EXPECT_EQ(details["meaning"], "approved");
    EXPECT_EQ(details["comment"], "batch 7 released");
    EXPECT_EQ(details["sha256"],
              QCryptographicHash::hash("Room,Verdict\nFill 3,pass\n", QCryptographicHash::Sha256)
                  .toHex()
                  .toStdString());
    const Outcome verified = Run({"verify"});
    EXPECT_EQ(verified.exitCode, 0) << verified.err;
    const Outcome known = Run({"verify-file", report});
    EXPECT_EQ(known.exitCode, 0) << known.err;
    EXPECT_THAT(known.out, HasSubstr("approved by"));
    EXPECT_THAT(known.out, HasSubstr("(" + Signer() + ")"));

    std::ofstream(Path("report.csv"), std::ios::app) << "Fill 4,pass\n";
    const Outcome changed = Run({"verify-file", report});
    EXPECT_EQ(changed.exitCode, 26);
    EXPECT_THAT(changed.err, HasSubstr("is not the file that was signed"));
}

// Three unflagged samples at one location: enough for a room of 1 m².
void WriteCleanSamples(const std::string& path) {
    data::clsDataRecordSet set;
    std::string flowUnits = "LPM";
    ASSERT_TRUE(set.Init("Model 9", 7, 28.3F, flowUnits, 1.65F, 3, "s", {"0.5", "5.0"}, {}, {},
                         {false, false}, {0, 0}));
    for (std::int32_t row = 0; row < 3; ++row) {
        data::clsDataRecord record;
        record.SetTimeStamp(base::SecondsToDate(1'772'352'900 + 60 * row));
        record.SetLocationID(1);
        record.SetSampleTimeData(60, 0);
        record.SetPartChanCount(2);
        record.SetPartChanData(0, 1000, 0, true);
        record.SetPartChanData(1, 10, 0, true);
        set.RecordCopy(row, &record);
    }
    std::string error;
    ASSERT_TRUE(data::WriteRecordSetJson(set, path, error)) << error;
}

TEST_P(Signing, ASignedClassificationReportShowsItsSignatureAndIsKnownAsSigned) {
    WriteCleanSamples(Path("set.json"));
    const QString report = QString::fromStdString(Path("report.json"));
    const auto classify = [&](const char* password) {
        return RunCommand({"classify", "--json", QString::fromStdString(Path("set.json")), "--area",
                           "1", "--class", "9", "--save", report, "--sign", "approved", "--comment",
                           "room released", "--password-stdin"},
                          QByteArray(password) + "\n");
    };
    const auto readReport = [&] {
        std::ifstream file(Path("report.json"));
        return nlohmann::json::parse(file);
    };

    const Outcome refused = classify(kWrong);
    EXPECT_EQ(refused.exitCode, 25) << refused.err;
    EXPECT_FALSE(readReport().contains("electronic_signatures"));

    const Outcome signedReport = classify(kRight);
    ASSERT_NE(signedReport.exitCode, 25) << signedReport.err;
    EXPECT_THAT(signedReport.out, HasSubstr("signed: approved by"));
    const nlohmann::json shown = readReport()["electronic_signatures"];
    ASSERT_EQ(shown["signatures"].size(), 1U);
    EXPECT_EQ(shown["signatures"][0]["user"], Signer());
    EXPECT_EQ(shown["signatures"][0]["meaning"], "approved");
    EXPECT_EQ(shown["signatures"][0]["comment"], "room released");
    const auto details =
        nlohmann::json::parse(Events("signature")[0]["details"].get<std::string>());
    EXPECT_EQ(shown["signed_sha256"], details["sha256"]);

    // The copy on disc is known by its own bytes; changed, by none.
    const Outcome known = Run({"verify-file", report});
    EXPECT_EQ(known.exitCode, 0) << known.err;
    EXPECT_THAT(known.out, HasSubstr("approved by"));
    std::ofstream(Path("report.json"), std::ios::app) << "\n";
    EXPECT_EQ(Run({"verify-file", report}).exitCode, 26);
    EXPECT_EQ(Run({"verify"}).exitCode, 0);
}

TEST_P(Signing, WrongPasswordsAreNotedAndThreeInARowLockSigning) {
    const QString download = QString::fromStdString(ImportDownloads(1).front());
    struct Try {
        const char* password;
        int exitCode;
        const char* says;
    };
    const Try tries[] = {
        {kWrong, 25, "the password is wrong; nothing was signed (1 of 3 tries)"},
        {kWrong, 25, "(2 of 3 tries)"},
        {kWrong, 25, "signing is locked until"},
        {kRight, 25, "signing is locked until"},
    };
    for (const Try& attempt : tries) {
        const Outcome outcome = Sign({"--download", download}, attempt.password);
        EXPECT_EQ(outcome.exitCode, attempt.exitCode) << outcome.err;
        EXPECT_THAT(outcome.err, HasSubstr(attempt.says));
    }
    EXPECT_EQ(Events("signature refused").size(), 3U);
    EXPECT_EQ(Events("signing locked").size(), 1U);
    EXPECT_TRUE(Events("signature").empty());
    EXPECT_EQ(Run({"verify"}).exitCode, 0);
}

TEST_P(Signing, ADownloadThatAddedNoRecordsIsNotSigned) {
    ImportDownloads(1);
    ASSERT_EQ(Run({"import", QString::fromStdString(Path("set0.json"))}).exitCode, 0);
    const nlohmann::json imports = Events("import");
    ASSERT_EQ(imports.size(), 2U);
    const Outcome refused =
        Sign({"--download", QString::number(imports[1]["id"].get<std::int64_t>())}, kRight);
    EXPECT_EQ(refused.exitCode, 20);
    EXPECT_THAT(refused.err, HasSubstr("added no records to the archive"));
    EXPECT_TRUE(Events("signature").empty());
}

TEST_P(Signing, ASignatureMovedToAnotherDownloadFailsVerify) {
    const std::vector<std::string> downloads = ImportDownloads(2);
    const Outcome signedDownload =
        Sign({"--download", QString::fromStdString(downloads[0])}, kRight);
    ASSERT_EQ(signedDownload.exitCode, 0) << signedDownload.err;
    ASSERT_EQ(Run({"verify"}).exitCode, 0);

    // Moved with its hash and the chain's head made anew, so that only the binding shows it.
    {
        Archive archive(settings_);
        const std::vector<EventEntry> events = archive.Events();
        ArchiveEvent moved = events.back().event;
        const auto other = std::find_if(events.begin(), events.end(), [&](const EventEntry& entry) {
            return std::to_string(entry.event.id) == downloads[1];
        });
        ASSERT_NE(other, events.end());
        moved.downloadId = other->event.downloadId;
        moved.hash = EventHash(moved);
        archive.Database().Run("UPDATE events SET download_id = ?, hash = ? WHERE id = ?",
                               {static_cast<qlonglong>(*moved.downloadId),
                                QString::fromStdString(moved.hash),
                                static_cast<qlonglong>(moved.id)});
        archive.Database().Run("UPDATE chain_head SET hash = ?",
                               {QString::fromStdString(moved.hash)});
    }
    const Outcome verified = Run({"verify"});
    EXPECT_EQ(verified.exitCode, 21);
    EXPECT_THAT(verified.err, HasSubstr("no longer holds the records it signed"));
}

TEST_P(Signing, OnATerminalThePasswordIsAskedWithoutEcho) {
    std::ofstream(Path("report.csv")) << "Room,Verdict\n";
    const Outcome signedIt = RunOnTerminal(
        {"sign", "--file", QString::fromStdString(Path("report.csv")), "--meaning", "reviewed"},
        {{"to sign: ", kRight}});
    EXPECT_EQ(signedIt.exitCode, 0) << signedIt.out;
    EXPECT_THAT(signedIt.out, HasSubstr("Password of " + Signer() + " to sign: "));
    EXPECT_THAT(signedIt.out, HasSubstr("signed: reviewed by"));
    EXPECT_EQ(signedIt.out.find(kRight), std::string::npos) << signedIt.out;
}

INSTANTIATE_TEST_SUITE_P(Engines, Signing,
                         ::testing::Values(TestEngine::kSqlite, TestEngine::kPostgres), EngineName);

} // namespace
} // namespace kestrix::archive
