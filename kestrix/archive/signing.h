#pragma once

// Electronic signatures: an event in the audit chain holding the signer, the printed name, the
// time (the server's on PostgreSQL), the meaning, an optional comment and the SHA-256 of what
// was signed. Signing always takes the password again; three wrong passwords in a row lock
// signing for the user for five minutes, and each wrong password and the lock are events too.

#include "kestrix/archive/archiveSettings.h"
#include "kestrix/archive/auditChain.h"
#include "kestrix/archive/signedContent.h"

#include <QDateTime>
#include <span>
#include <string>

namespace kestrix::archive {

class Archive;

inline constexpr int kFailuresBeforeLock = 3;
inline constexpr int kSigningLockSeconds = 300;

// The meanings a signature can carry, in the order they are offered.
std::span<const char* const> SignatureMeanings();
bool IsSignatureMeaning(const std::string& meaning);

struct SignatureRequest {
    SignedContent content;
    std::string meaning; // reviewed, approved or rejected
    std::string comment; // may be empty
};

struct SignOutcome {
    enum class Status { kSigned, kRefused, kLocked };
    Status status = Status::kRefused;
    ArchiveEvent event;    // the signature, or the wrong password's event
    int failuresInRow = 0; // wrong passwords in a row, this one included
    QDateTime lockedUntil; // when locked
};

// Who signs: the login on SQLite, the server role on PostgreSQL.
std::string SignerName(Archive& archive);

// Throws ArchiveError for another meaning, and when the archive or the password check fails
// otherwise.
SignOutcome Sign(Archive& archive, const ArchiveSettings& settings, const SignatureRequest& request,
                 const std::string& password);

} // namespace kestrix::archive
