#pragma once

// "-" as the file of --save or --json sends the file to standard output. It is written whole
// into a private temporary folder first, under a name with the format's ending, so the writers
// stay as they are and a failed write puts nothing on standard output.

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QTemporaryDir;

namespace kestrix::cli {

inline constexpr const char* kStandardOutput = "-";

// Adds --format FORMAT, the kind of file that "--save -" writes; `formats` lists the choices,
// the first being the default.
void AddFormatOption(CLI::App& command, std::optional<std::string>& format,
                     const std::vector<std::string>& formats);

// A name whose ending tells the kind of file: the path itself, or for standard output one that
// ends in the format.
std::string NameForKind(const std::string& path, const std::optional<std::string>& format,
                        const std::string& fallback);

class OutputTarget {
public:
    // `fallback` is the format of "-" when no --format was given.
    OutputTarget(std::string path, std::optional<std::string> format, std::string fallback);
    ~OutputTarget();
    OutputTarget(const OutputTarget&) = delete;
    OutputTarget& operator=(const OutputTarget&) = delete;

    bool ToStandardOutput() const { return path_ == kStandardOutput; }
    // Where the writer writes.
    std::string WritePath() const;
    // A usage error said on stderr, or kExitOk: --format with a file name, a binary format for a
    // terminal, or a temporary folder that cannot be made.
    int Check() const;
    // Copies what was written to standard output, when that is the target; the exit status.
    int Deliver() const;
    // Where results and summaries go: stderr while the file itself is on standard output.
    std::ostream& Notes() const;

private:
    std::string path_;
    std::optional<std::string> format_;
    std::string fallback_;
    std::unique_ptr<QTemporaryDir> folder_;
};

} // namespace kestrix::cli
