#pragma once

#include <string>
#include <vector>

namespace tolvex::test {

struct ProgramOutcome {
    int exitCode = -1; // -1 when the program could not start or did not exit normally
    std::string out;
    std::string err;
};

// Runs a program with the arguments and waits for it; its output goes through temporary files.
ProgramOutcome RunProgram(const std::string& path, std::vector<std::string> args);

} // namespace tolvex::test
