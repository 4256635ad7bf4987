#pragma once

// Passwords: before a signature, from the terminal without echo or one line of standard input
// (--password-stdin); a server archive's, from the terminal when the server asks for it. Never
// from an option, where other users' ps would show it.

#include <optional>
#include <string>

namespace kestrix::cli {

// Empty with the reason in `problem` when there is no terminal or input to read it from.
std::optional<std::string> ReadPassword(bool fromStdin, const std::string& prompt,
                                        std::string& problem);

// A server archive that wants a password asks for it on the terminal, once in this run.
void AskArchivePasswordsOnTheTerminal();

} // namespace kestrix::cli
