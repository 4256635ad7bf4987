#pragma once

// The password asked again before a signature. On a workstation's SQLite archive it is the
// login's own, checked through PAM (service "kestrix", /etc/pam.d/kestrix); on a PostgreSQL
// archive it is the server role's, checked by opening a fresh connection with it.

#include "kestrix/archive/archiveSettings.h"

#include <string>

namespace kestrix::archive {

inline constexpr const char* kPamService = "kestrix";

enum class PasswordVerdict { kAccepted, kRefused };

// Throws ArchiveError when the password cannot be checked at all (PAM or the server fails
// otherwise); a wrong password is no error.
PasswordVerdict CheckLoginPassword(const std::string& user, const std::string& password);
PasswordVerdict CheckServerPassword(const ArchiveSettings& settings, const std::string& password);

} // namespace kestrix::archive
