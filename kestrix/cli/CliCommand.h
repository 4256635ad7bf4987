#pragma once

// One subcommand of kestrix-cli. Each command lives in a file of its own and
// is listed in cliCommands.cpp.

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

namespace kestrix::cli {

// What the main command line gives every subcommand.
struct CliContext {
    std::optional<std::string> configPath; // --config FILE
};

enum class ApplicationKind {
    kCore, // QCoreApplication: files and serial ports
    kGui,  // QGuiApplication without a display: painting, fonts, PDF
};

class CliCommand {
public:
    virtual ~CliCommand() = default;

    // Adds the subcommand with its options and help text to the program.
    virtual CLI::App* Register(CLI::App& program) = 0;

    // Known once the command line is parsed.
    virtual ApplicationKind RequiredApplication() const { return ApplicationKind::kCore; }

    // Runs after the Qt application object exists; returns the exit status
    // and reports problems on stderr.
    virtual int Run(const CliContext& context) = 0;
};

} // namespace kestrix::cli
