#pragma once

// The password before a signature: from the terminal without echo, or one line of standard
// input (--password-stdin). Never from an option, where other users' ps would show it.

#include <optional>
#include <string>

namespace kestrix::cli {

// Empty with the reason in `problem` when there is no terminal or input to read it from.
std::optional<std::string> ReadPassword(bool fromStdin, const std::string& prompt,
                                        std::string& problem);

} // namespace kestrix::cli
