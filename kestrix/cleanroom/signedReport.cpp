#include "kestrix/cleanroom/signedReport.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/signedCopies.h"
#include "kestrix/cleanroom/reportFiles.h"

#include <QDateTime>

namespace kestrix::cleanroom {

namespace {

// "2026-12-08 14:02:11+01:00": the signer's time in this computer's zone, the zone shown.
std::string SignatureTime(const std::string& happenedAt) {
    const QDateTime time =
        QDateTime::fromString(QString::fromStdString(happenedAt), Qt::ISODateWithMs);
    if (!time.isValid()) {
        return happenedAt;
    }
    const QDateTime local = time.toLocalTime();
    QString text = local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
    return text.replace('T', ' ').toStdString();
}

ReportSignature PrintedSignature(const archive::ArchiveEvent& event) {
    return {archive::PrintedName(event), event.userName, SignatureTime(event.happenedAt),
            archive::EventDetail(event, "meaning"), archive::EventDetail(event, "comment")};
}

} // namespace

ReportSignOutcome SignReport(archive::Archive& archive, const archive::ArchiveSettings& settings,
                             ClassificationReport report, const std::string& path,
                             const ReportSigning& signing) {
    ReportSignOutcome outcome;
    const std::optional<archive::SignedContent> signedFile =
        archive::FileContent(path, outcome.problem);
    if (!signedFile) {
        return outcome;
    }
    outcome.signing = archive::Sign(
        archive, settings, {*signedFile, signing.meaning, signing.comment}, signing.password);
    if (outcome.signing->status != archive::SignOutcome::Status::kSigned) {
        return outcome;
    }
    const std::vector<archive::ArchiveEvent> signatures =
        archive::SignaturesOver(archive.Events(), signedFile->sha256);
    report.signatures.clear();
    for (const archive::ArchiveEvent& event : signatures) {
        report.signatures.push_back(PrintedSignature(event));
    }
    report.signedSha256 = signedFile->sha256;
    outcome.problem = SaveReport(report, path);
    if (!outcome.problem.empty()) {
        return outcome;
    }
    const std::optional<archive::SignedContent> copy = archive::FileContent(path, outcome.problem);
    if (copy) {
        archive::NoteSignedCopy(archive, *copy, signatures);
    }
    return outcome;
}

} // namespace kestrix::cleanroom
