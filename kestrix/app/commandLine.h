#pragma once

// The program's command line, read before the window system starts so that --help, --version
// and a mistyped option need no display.

#include <optional>
#include <string>

namespace kestrix::commandLine {

struct CommandLine {
    std::optional<int> exitStatus; // set when the program ends once the command line is answered
    std::string configFile;        // empty for the default file
};

// Prints the help, the version or the error itself.
CommandLine ParseCommandLine(int argc, char* argv[]);

} // namespace kestrix::commandLine
