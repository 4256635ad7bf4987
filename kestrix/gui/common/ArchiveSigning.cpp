#include "kestrix/gui/common/ArchiveSigning.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/signedSummary.h"
#include "kestrix/archive/signing.h"
#include "kestrix/archive/signingTexts.h"
#include "kestrix/cleanroom/signedReport.h"
#include "kestrix/gui/common/ArchiveAccess.h"
#include "kestrix/gui/common/SignDialog.h"
#include "kestrix/gui/common/UserDialogs.h"

#include <functional>
#include <optional>
#include <vector>

namespace kestrix::gui {

namespace {

using ContentOf = std::function<archive::SignedContent(archive::Archive&)>;
using SignWith =
    std::function<SignDialog::Reply(archive::Archive&, const archive::ArchiveSettings&,
                                    const archive::SignatureRequest&, const std::string&)>;

SignDialog::Reply SignAlone(archive::Archive& archive, const archive::ArchiveSettings& settings,
                            const archive::SignatureRequest& request, const std::string& password) {
    const archive::SignOutcome outcome = archive::Sign(archive, settings, request, password);
    return {outcome.status == archive::SignOutcome::Status::kSigned, archive::OutcomeText(outcome)};
}

SignDialog::Reply SignInArchive(const archive::ArchiveSettings& settings,
                                const archive::SignatureRequest& request,
                                const std::string& password, const SignWith& signWith) {
    try {
        archive::Archive archive(settings);
        return signWith(archive, settings, request, password);
    } catch (const archive::ArchiveError& error) {
        return {false, "nothing was signed: " + std::string(error.what())};
    }
}

void ShowSignDialog(QWidget* parent, UserDialogs& dialogs, const std::string& configPath,
                    const ContentOf& contentOf, const SignWith& signWith = SignAlone) {
    const std::optional<archive::ArchiveSettings> settings =
        UsableArchive(parent, dialogs, configPath);
    if (!settings) {
        return;
    }
    archive::SignedContent content;
    std::vector<archive::SignedFact> facts;
    std::string signer;
    try {
        archive::Archive archive(*settings, archive::Access::kRead);
        content = contentOf(archive);
        facts = archive::DescribeSignedContent(archive.Database(), content);
        signer = archive::SignerName(archive);
    } catch (const archive::ArchiveError& error) {
        TellArchiveProblem(parent, dialogs, QObject::tr("Nothing can be signed."), error.what());
        return;
    }
    SignDialog dialog(
        facts, QString::fromStdString(signer),
        [&](const std::string& meaning, const std::string& comment, const std::string& password) {
            return SignInArchive(*settings, {content, meaning, comment}, password, signWith);
        },
        parent);
    dialogs.ShowModal(dialog);
}

ContentOf FileOf(const QString& path) {
    return [path](archive::Archive&) {
        std::string problem;
        std::optional<archive::SignedContent> content =
            archive::FileContent(path.toStdString(), problem);
        if (!content) {
            throw archive::ArchiveError(problem);
        }
        return *content;
    };
}

SignDialog::Reply SignedReportReply(const cleanroom::ReportSignOutcome& outcome) {
    if (!outcome.signing) {
        return {false, "nothing was signed: " + outcome.problem};
    }
    const bool signedIt = outcome.signing->status == archive::SignOutcome::Status::kSigned;
    std::string text = archive::OutcomeText(*outcome.signing);
    if (signedIt) {
        text += outcome.problem.empty()
                    ? "; the report now shows its signatures"
                    : "; the report that shows them cannot be written: " + outcome.problem;
    }
    return {signedIt, text};
}

} // namespace

void SignDownload(QWidget* parent, UserDialogs& dialogs, const std::string& configPath,
                  std::int64_t downloadEvent) {
    ShowSignDialog(parent, dialogs, configPath, [downloadEvent](archive::Archive& archive) {
        return archive::DownloadContent(archive.Database(), downloadEvent);
    });
}

void SignFile(QWidget* parent, UserDialogs& dialogs, const std::string& configPath,
              const QString& path) {
    ShowSignDialog(parent, dialogs, configPath, FileOf(path));
}

void SignReport(QWidget* parent, UserDialogs& dialogs, const std::string& configPath,
                const cleanroom::ClassificationReport& report, const QString& path) {
    ShowSignDialog(parent, dialogs, configPath, FileOf(path),
                   [&](archive::Archive& archive, const archive::ArchiveSettings& settings,
                       const archive::SignatureRequest& request, const std::string& password) {
                       return SignedReportReply(
                           cleanroom::SignReport(archive, settings, report, path.toStdString(),
                                                 {request.meaning, request.comment, password}));
                   });
}

} // namespace kestrix::gui
