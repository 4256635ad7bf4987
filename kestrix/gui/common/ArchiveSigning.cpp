#include "kestrix/gui/common/ArchiveSigning.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/signedSummary.h"
#include "kestrix/archive/signing.h"
#include "kestrix/archive/signingTexts.h"
#include "kestrix/gui/common/ArchiveAccess.h"
#include "kestrix/gui/common/SignDialog.h"
#include "kestrix/gui/common/UserDialogs.h"

#include <functional>
#include <optional>
#include <vector>

namespace kestrix::gui {

namespace {

using ContentOf = std::function<archive::SignedContent(archive::Archive&)>;

SignDialog::Reply SignInArchive(const archive::ArchiveSettings& settings,
                                const archive::SignatureRequest& request,
                                const std::string& password) {
    try {
        archive::Archive archive(settings);
        const archive::SignOutcome outcome = archive::Sign(archive, settings, request, password);
        return {outcome.status == archive::SignOutcome::Status::kSigned,
                archive::OutcomeText(outcome)};
    } catch (const archive::ArchiveError& error) {
        return {false, "nothing was signed: " + std::string(error.what())};
    }
}

void ShowSignDialog(QWidget* parent, UserDialogs& dialogs, const std::string& configPath,
                    const ContentOf& contentOf) {
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
            return SignInArchive(*settings, {content, meaning, comment}, password);
        },
        parent);
    dialogs.ShowModal(dialog);
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
    ShowSignDialog(parent, dialogs, configPath, [&path](archive::Archive&) {
        std::string problem;
        std::optional<archive::SignedContent> content =
            archive::FileContent(path.toStdString(), problem);
        if (!content) {
            throw archive::ArchiveError(problem);
        }
        return *content;
    });
}

} // namespace kestrix::gui
