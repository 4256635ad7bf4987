#include "CommandLine.h"
#include "MasterSession.h"

#include <iostream>

int main(int argc, char** argv) {
    tolvex::cli::CtlOptions options;
    if (const std::optional<int> end = tolvex::cli::ParseCommandLine(argc, argv, options)) {
        return *end;
    }
    tolvex::cli::MasterSession session(std::cout, std::cerr);
    return session.Run(options);
}
