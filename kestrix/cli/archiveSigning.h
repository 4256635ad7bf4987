#pragma once

// kestrix-cli archive sign and archive verify-file: electronic signatures over a download or a
// report file, and whether a file is the one that was signed and by whom.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>

namespace kestrix::archive {
class Archive;
struct ArchiveSettings;
} // namespace kestrix::archive

namespace kestrix::cleanroom {
struct ClassificationReport;
}

namespace kestrix::cli {

struct SignOptions {
    std::optional<std::int64_t> downloadEvent;
    std::string file;
    std::string meaning;
    std::string comment;
    bool passwordStdin = false;
};

void RegisterSign(CLI::App& command, SignOptions& options);
// classify --sign MEANING [--comment TEXT] [--password-stdin].
void RegisterReportSigning(CLI::App& command, SignOptions& options);

int RunSign(archive::Archive& archive, const archive::ArchiveSettings& settings,
            const SignOptions& options);
int RunVerifyFile(archive::Archive& archive, const std::string& path);
// Signs the report saved at `path` and writes it again there with its signatures printed.
int RunSignReport(const archive::ArchiveSettings& settings,
                  const cleanroom::ClassificationReport& report, const std::string& path,
                  const SignOptions& options);

} // namespace kestrix::cli
