#pragma once

// Messages of kestrix-cli on stderr, each line starting with the program's name.

#include <string>

namespace kestrix::cli {

inline constexpr const char* kProgramName = "kestrix-cli";

void ReportNote(const std::string& text);

// Says what went wrong and returns the exit status, for `return Fail(...)`.
int Fail(int exitCode, const std::string& text);

} // namespace kestrix::cli
