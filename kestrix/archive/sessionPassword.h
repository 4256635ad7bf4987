#pragma once

// A server archive's password for the rest of the program's run: asked at the first connection
// the server refuses for want of one, then kept in memory only, never written anywhere. A
// password in the url, PGPASSWORD and ~/.pgpass come first, as libpq reads them.

#include <functional>
#include <optional>
#include <string>

namespace kestrix::archive {

// Asks for the password of the archive at `place` (its url without a password); `refused` when
// the one given before was wrong. None when the user gave up or cannot be asked.
using PasswordPrompt =
    std::function<std::optional<std::string>(const std::string& place, bool refused)>;

// The program's way of asking: a log-in dialog, or the terminal. None asks nobody.
void SetSessionPasswordPrompt(PasswordPrompt prompt);

std::optional<std::string> AskSessionPassword(const std::string& place, bool refused);

std::optional<std::string> SessionPassword(const std::string& place);
void KeepSessionPassword(const std::string& place, const std::string& password);
void ForgetSessionPassword(const std::string& place);

} // namespace kestrix::archive
