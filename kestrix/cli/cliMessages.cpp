#include "kestrix/cli/cliMessages.h"

#include <iostream>

namespace kestrix::cli {

void ReportNote(const std::string& text) {
    std::cerr << kProgramName << ": " << text << '\n';
}

int Fail(int exitCode, const std::string& text) {
    std::cerr << kProgramName << ": error: " << text << '\n';
    return exitCode;
}

} // namespace kestrix::cli
