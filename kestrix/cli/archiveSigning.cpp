#include "kestrix/cli/archiveSigning.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/signing.h"
#include "kestrix/archive/signingTexts.h"
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

} // namespace

void RegisterSign(CLI::App& command, SignOptions& options) {
    CLI::Option_group* target = command.add_option_group("what to sign");
    target
        ->add_option("--download", options.downloadEvent,
                     "the event number of a download or import (archive events)")
        ->type_name("ID");
    target->add_option("--file", options.file, "a report file whose bytes to sign")
        ->type_name("REPORT");
    target->require_option(1);
    command.add_option("--meaning", options.meaning, "what the signature means")
        ->required()
        ->check(CLI::IsMember(std::vector<std::string>(archive::SignatureMeanings().begin(),
                                                       archive::SignatureMeanings().end())));
    command.add_option("--comment", options.comment, "a comment the signature carries");
    command.add_flag("--password-stdin", options.passwordStdin,
                     "read the password from the first line of standard input instead of the "
                     "terminal");
}

int RunSign(archive::Archive& archive, const archive::ArchiveSettings& settings,
            const SignOptions& options) {
    const std::optional<archive::SignedContent> content = Content(archive, options);
    if (!content) {
        return kExitUnreadableInput;
    }
    std::string problem;
    const std::optional<std::string> password = ReadPassword(
        options.passwordStdin, "Password of " + archive::SignerName(archive) + " to sign", problem);
    if (!password) {
        return Fail(kExitUsage, problem);
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
    std::vector<std::string> signatures;
    std::vector<std::string> sameName;
    for (const archive::EventEntry& entry : archive.Events()) {
        const archive::ArchiveEvent& event = entry.event;
        if (event.kind != archive::kEventSignature ||
            archive::SignatureDetail(event, "signed") != "file") {
            continue;
        }
        if (event.recordsHash == content->sha256) {
            signatures.push_back(PrintableLine(event));
        } else if (archive::SignatureDetail(event, "file") == content->file) {
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

} // namespace kestrix::cli
