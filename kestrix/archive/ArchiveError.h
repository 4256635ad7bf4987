#pragma once

// A failure of the archive database: it cannot be opened, a statement failed, or its contents
// are not what this program wrote. The message is meant for the user.

#include <stdexcept>
#include <string>

namespace kestrix::archive {

class ArchiveError : public std::runtime_error {
public:
    explicit ArchiveError(const std::string& message) : std::runtime_error(message) {}
};

// A query named no instrument of the archive, or more than one.
class ArchiveNoInstrument : public ArchiveError {
public:
    using ArchiveError::ArchiveError;
};

// The server refused the log-in: no password was given, or a wrong one.
class ArchiveLoginRefused : public ArchiveError {
public:
    using ArchiveError::ArchiveError;
};

// Another writer held the archive longer than [archive] lock_timeout. The reason is kept apart
// so that a message can say "archive busy" once.
class ArchiveBusy : public ArchiveError {
public:
    explicit ArchiveBusy(const std::string& reason)
        : ArchiveError("archive busy: " + reason), reason_(reason) {}
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

} // namespace kestrix::archive
