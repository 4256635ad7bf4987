#include "kestrix/cli/OutputTarget.h"

#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"

#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace kestrix::cli {

namespace {

constexpr std::size_t kCopyChunkBytes = 1 << 16;

bool IsBinary(const std::string& format) {
    return format == "xlsx" || format == "pdf";
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : ", ") + word;
    }
    return text;
}

} // namespace

void AddFormatOption(CLI::App& command, std::optional<std::string>& format,
                     const std::vector<std::string>& formats) {
    command
        .add_option("--format", format,
                    "what --save - writes to standard output: " + Joined(formats) + " (default " +
                        formats.front() + ")")
        ->type_name("FORMAT")
        ->check(CLI::IsMember(formats));
}

std::string NameForKind(const std::string& path, const std::optional<std::string>& format,
                        const std::string& fallback) {
    return path == kStandardOutput ? "standard-output." + format.value_or(fallback) : path;
}

OutputTarget::OutputTarget(std::string path, std::optional<std::string> format,
                           std::string fallback)
    : path_(std::move(path)), format_(std::move(format)), fallback_(std::move(fallback)) {
    if (ToStandardOutput()) {
        folder_ = std::make_unique<QTemporaryDir>();
    }
}

OutputTarget::~OutputTarget() = default;

std::string OutputTarget::WritePath() const {
    if (!ToStandardOutput()) {
        return path_;
    }
    return folder_->filePath(QString::fromStdString(NameForKind(path_, format_, fallback_)))
        .toStdString();
}

int OutputTarget::Check() const {
    if (!ToStandardOutput()) {
        return format_ ? Fail(kExitUsage, "--format goes with --save -; the ending of \"" + path_ +
                                              "\" tells its kind")
                       : kExitOk;
    }
    const std::string format = format_.value_or(fallback_);
    if (IsBinary(format) && ::isatty(STDOUT_FILENO) == 1) {
        return Fail(kExitUsage, "a " + format +
                                    " file is not written to a terminal: redirect standard "
                                    "output to a file or a pipe");
    }
    if (!folder_->isValid()) {
        return Fail(kExitSaveFailed,
                    "cannot make a temporary folder: " + folder_->errorString().toStdString());
    }
    return kExitOk;
}

int OutputTarget::Deliver() const {
    if (!ToStandardOutput()) {
        return kExitOk;
    }
    std::cout.flush();
    std::ifstream file(WritePath(), std::ios::binary);
    std::string chunk(kCopyChunkBytes, '\0');
    while (file) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto count = static_cast<std::size_t>(file.gcount());
        if (std::fwrite(chunk.data(), 1, count, stdout) != count) {
            break;
        }
    }
    if (!file.eof() || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        return Fail(kExitSaveFailed,
                    std::string("cannot write to standard output: ") + std::strerror(errno));
    }
    return kExitOk;
}

std::ostream& OutputTarget::Notes() const {
    return ToStandardOutput() ? std::cerr : std::cout;
}

} // namespace kestrix::cli
