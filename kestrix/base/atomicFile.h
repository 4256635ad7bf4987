#pragma once

// Files that are replaced whole: the new content goes to a temporary file beside the target
// and is renamed over it only when complete, so a crash or a full disc never leaves a
// half-written file in place of the old one.

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrix::base {

class PendingFile {
public:
    // Creates the temporary file beside `target` (beside the file a symlink points to, so the
    // link stays). IsOpen() tells whether that worked; a target that exists and is not a regular
    // file (a device, a FIFO, a socket, a folder, a loop of links) is refused. Until it is
    // committed, the temporary file is removed when SIGINT or SIGTERM ends the program, once
    // the program asked for that (pendingFileCleanup.h).
    explicit PendingFile(const std::filesystem::path& target);
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    // Removes the temporary file unless it was committed.
    ~PendingFile();

    bool IsOpen() const { return fd_ >= 0; }
    // For writers that open the file by name themselves.
    const std::string& TemporaryPath() const { return tempPath_; }
    bool Write(std::string_view bytes);
    // Flushes, takes over the old file's mode and owner, and renames into place.
    bool Commit();
    // Why creating, writing or committing failed, for the user.
    const std::string& Error() const { return error_; }

private:
    bool Fail(const char* what, int error);

    std::filesystem::path target_;
    std::string tempPath_;
    std::string error_;
    int fd_ = -1;
    bool failed_ = false;
    bool committed_ = false;
};

// Makes a rename or an unlink in the folder durable.
void SyncFolder(const std::filesystem::path& folder);

// False, with the reason in `error` when one is given, when the file could not be replaced.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           std::string* error = nullptr);

} // namespace kestrix::base
