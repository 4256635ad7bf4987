#include "kestrix/cli/archiveSigning.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/signedCopies.h"
#include "kestrix/archive/signing.h"
#include "kestrix/archive/signingTexts.h"
#include "kestrix/cleanroom/signedReport.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/passwordInput.h"
#include "kestrix/cli/printableText.h"

#include <iostream>

namespace kestrix::cli {

namespace {

// The signer's name and comment come from the archive: escaped for the terminal.
std::string PrintableLine(const archive::ArchiveEvent& event) {
    return PrintableText(archive::SignatureLine(event));
}

std::optional<archive::SignedContent> Content(archive::Archive& archive,
                                              const SignOptions& options) {
    if (options.downloadEvent) {
        return archive::DownloadContent(archive.Database(), *options.downloadEvent);
    }
    std::string problem;
    auto content = archive::FileContent(options.file, problem);
    if (!content) {
        Fail(kExitUnreadableInput, problem);
    }
    return content;
}

CLI::Option* AddMeaning(CLI::App& command, const std::string& name, std::string& meaning,
                        const std::string& help) {
    return command.add_option(name, meaning, help)
        ->type_name("reviewed|approved|rejected")
        ->check(CLI::IsMember(std::vector<std::string>(archive::SignatureMeanings().begin(),
                                                       archive::SignatureMeanings().end())));
}

void AddSigningDetails(CLI::App& command, SignOptions& options, CLI::Option* meaning) {
    command.add_option("--comment", options.comment, "a comment the signature carries")
        ->needs(meaning);
    command
        .add_flag("--password-stdin", options.passwordStdin,
                  "read the password from the first line of standard input instead of the "
                  "terminal")
        ->needs(meaning);
}

std::optional<std::string> AskPassword(archive::Archive& archive, const SignOptions& options) {
    std::string problem;
    std::optional<std::string> password = ReadPassword(
        options.passwordStdin, "Password of " + archive::SignerName(archive) + " to sign", problem);
    if (!password) {
        Fail(kExitUsage, problem);
    }
    return password;
}

} // namespace

void RegisterSign(CLI::App& command, SignOptions& options) {
    CLI::Option* download =
        command
            .add_option("--download", options.downloadEvent,
                        "the event number of a download or import (archive events)")
            ->type_name("ID");
    CLI::Option* file =
        command.add_option("--file", options.file, "a report file whose bytes to sign")
            ->type_name("REPORT");
    download->excludes(file);
    command.callback([download, file] {
        if (download->count() == 0 && file->count() == 0) {
            throw CLI::RequiredError("--download or --file");
        }
    });
    CLI::Option* meaning =
        AddMeaning(command, "--meaning", options.meaning, "what the signature means")->required();
    AddSigningDetails(command, options, meaning);
}

void RegisterReportSigning(CLI::App& command, SignOptions& options) {
    CLI::Option* meaning = AddMeaning(
        command, "--sign", options.meaning,
        "sign the saved report electronically with this meaning, asking for the password, and "
        "write it again with its signature printed (needs the archive)");
    AddSigningDetails(command, options, meaning);
}

int RunSign(archive::Archive& archive, const archive::ArchiveSettings& settings,
            const SignOptions& options) {
    const std::optional<archive::SignedContent> content = Content(archive, options);
    if (!content) {
        return kExitUnreadableInput;
    }
    const std::optional<std::string> password = AskPassword(archive, options);
    if (!password) {
        return kExitUsage;
    }
    const archive::SignOutcome outcome =
        archive::Sign(archive, settings, {*content, options.meaning, options.comment}, *password);
    if (outcome.status != archive::SignOutcome::Status::kSigned) {
        return Fail(kExitSignatureRefused, archive::OutcomeText(outcome));
    }
    std::cout << PrintableText(archive::OutcomeText(outcome)) << '\n'
              << "sha256: " << content->sha256 << '\n';
    return kExitOk;
}

int RunVerifyFile(archive::Archive& archive, const std::string& path) {
    std::string problem;
    const std::optional<archive::SignedContent> content = archive::FileContent(path, problem);
    if (!content) {
        return Fail(kExitUnreadableInput, problem);
    }
    const archive::VerifyResult verified = archive.Verify();
    if (!verified.intact) {
        return Fail(kExitArchiveDamaged, "the archive is damaged: " + verified.problem);
    }
    const std::vector<archive::EventEntry> events = archive.Events();
    std::vector<std::string> signatures;
    for (const archive::ArchiveEvent& event : archive::SignaturesOver(events, content->sha256)) {
        signatures.push_back(PrintableLine(event));
    }
    std::vector<std::string> sameName;
    for (const archive::EventEntry& entry : events) {
        const archive::ArchiveEvent& event = entry.event;
        if (event.kind == archive::kEventSignature &&
            archive::EventDetail(event, "signed") == "file" &&
            event.recordsHash != content->sha256 &&
            archive::EventDetail(event, "file") == content->file) {
            sameName.push_back(PrintableLine(event));
        }
    }
    if (signatures.empty()) {
        return Fail(kExitNotSigned,
                    sameName.empty()
                        ? "\"" + path + "\" was never signed: no signature holds its SHA-256"
                        : "\"" + path +
                              "\" is not the file that was signed: its SHA-256 differs "
                              "from the one signed as " +
                              PrintableText(content->file) + " (" + sameName.back() + ")");
    }
    std::cout << "signed: " << PrintableText(path) << " sha256:" << content->sha256 << '\n';
    for (const std::string& line : signatures) {
        std::cout << line << '\n';
    }
    return kExitOk;
}

int RunSignReport(const archive::ArchiveSettings& settings,
                  const cleanroom::ClassificationReport& report, const std::string& path,
                  const SignOptions& options) {
    if (!settings.enabled || !settings.problem.empty()) {
        return Fail(
            kExitArchiveUnavailable,
            "the report is saved but not signed: signatures are kept in the archive, "
            "which is " +
                (settings.problem.empty() ? std::string("switched off") : settings.problem));
    }
    try {
        archive::Archive archive(settings, archive::Access::kWrite);
        const std::optional<std::string> password = AskPassword(archive, options);
        if (!password) {
            return kExitUsage;
        }
        const cleanroom::ReportSignOutcome outcome = cleanroom::SignReport(
            archive, settings, report, path, {options.meaning, options.comment, *password});
        if (!outcome.signing) {
            return Fail(kExitUnreadableInput, outcome.problem);
        }
        if (outcome.signing->status != archive::SignOutcome::Status::kSigned) {
            return Fail(kExitSignatureRefused, archive::OutcomeText(*outcome.signing));
        }
        std::cout << PrintableText(archive::OutcomeText(*outcome.signing)) << '\n';
        if (!outcome.problem.empty()) {
            return Fail(kExitSaveFailed, "the report is signed, but the copy that shows its "
                                         "signature cannot be written: " +
                                             outcome.problem);
        }
        return kExitOk;
    } catch (const archive::ArchiveError& error) {
        return Fail(kExitArchiveUnavailable, error.what());
    }
}

} // namespace kestrix::cli
