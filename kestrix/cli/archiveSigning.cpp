#include "kestrix/cli/archiveSigning.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/signing.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/passwordInput.h"
#include "kestrix/cli/printableText.h"

#include <iostream>
#include <nlohmann/json.hpp>

namespace kestrix::cli {

namespace {

std::string PrintedName(const archive::ArchiveEvent& event) {
    return PrintableText(event.fullName.empty() ? event.userName : event.fullName);
}

std::string DetailText(const archive::ArchiveEvent& event, const char* key) {
    const auto details = nlohmann::json::parse(event.details, nullptr, false);
    return details.is_object() && details.contains(key) && details[key].is_string()
               ? details[key].get<std::string>()
               : std::string();
}

// "approved by Jane Doe (jdoe) at TIME, event 12: comment"
std::string SignatureLine(const archive::ArchiveEvent& event) {
    const std::string comment = DetailText(event, "comment");
    return PrintableText(DetailText(event, "meaning")) + " by " + PrintedName(event) + " (" +
           PrintableText(event.userName) + ") at " + PrintableText(event.happenedAt) + ", event " +
           std::to_string(event.id) + (comment.empty() ? "" : ": " + PrintableText(comment));
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

int Refused(const archive::SignOutcome& outcome) {
    if (outcome.status == archive::SignOutcome::Status::kLocked) {
        return Fail(kExitSignatureRefused,
                    "signing is locked until " +
                        outcome.lockedUntil.toLocalTime().toString(Qt::ISODate).toStdString() +
                        " after " + std::to_string(archive::kFailuresBeforeLock) +
                        " wrong passwords in a row; nothing was signed");
    }
    return Fail(kExitSignatureRefused, "the password is wrong; nothing was signed (" +
                                           std::to_string(outcome.failuresInRow) + " of " +
                                           std::to_string(archive::kFailuresBeforeLock) +
                                           " tries)");
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
        ->check(CLI::IsMember({"reviewed", "approved", "rejected"}));
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
        return Refused(outcome);
    }
    std::cout << "signed: " << SignatureLine(outcome.event) << '\n'
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
        if (event.kind != archive::kEventSignature || DetailText(event, "signed") != "file") {
            continue;
        }
        if (event.recordsHash == content->sha256) {
            signatures.push_back(SignatureLine(event));
        } else if (DetailText(event, "file") == content->file) {
            sameName.push_back(SignatureLine(event));
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
