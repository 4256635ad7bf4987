#include "kestrix/base/atomicFile.h"

#include "kestrix/base/fileKind.h"
#include "kestrix/base/pendingFileCleanup.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrix::base {
namespace {

// The file a chain of symbolic links ends at, so that the links stay; the path itself when the
// chain does not end within 40 links (a loop).
std::filesystem::path SymlinkTarget(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!std::filesystem::is_symlink(current, error)) {
            return current;
        }
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error) {
            return path;
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return path;
}

// What an existing target other than a regular file is: renaming over it would put a plain
// file in place of a device, a FIFO, a socket, a folder or a loop of links. Null when the
// target is a regular file or is not there.
const char* NotARegularFile(const std::filesystem::path& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        return nullptr;
    }
    return IrregularFileKind(info.st_mode);
}

int CreateTemporaryBeside(const std::filesystem::path& target, std::string& tempPath) {
    static std::atomic<unsigned> counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            (target.parent_path() / ("." + target.filename().string() + ".tmp-" +
                                     std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                .string();
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// The new file takes over the old one's mode and owner; a new file gets the
// umask's default mode from open().
void KeepModeAndOwner(int fd, const std::filesystem::path& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        (void)::fchmod(fd, old.st_mode & 07777);
        (void)::fchown(fd, old.st_uid, old.st_gid);
    }
}

} // namespace

void SyncFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

PendingFile::PendingFile(const std::filesystem::path& target) : target_(SymlinkTarget(target)) {
    if (const char* kind = NotARegularFile(target_)) {
        error_ =
            "Cannot replace \"" + target_.string() + "\": it is " + kind + ", not a regular file";
        return;
    }
    fd_ = CreateTemporaryBeside(target_, tempPath_);
    if (fd_ < 0) {
        Fail("Cannot create a file beside", errno);
        tempPath_.clear();
        return;
    }
    pendingFiles::Remember(tempPath_.c_str());
}

PendingFile::~PendingFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!committed_ && !tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        pendingFiles::Forget(tempPath_.c_str());
    }
}

bool PendingFile::Write(std::string_view bytes) {
    while (fd_ >= 0 && !failed_ && !bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            failed_ = true;
            Fail("Cannot write", written < 0 ? errno : ENOSPC);
        } else {
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    return fd_ >= 0 && !failed_;
}

bool PendingFile::Commit() {
    if (fd_ < 0 || failed_ || committed_) {
        return false;
    }
    KeepModeAndOwner(fd_, target_);
    const bool synced = ::fsync(fd_) == 0;
    const int syncError = errno;
    const bool closed = ::close(fd_) == 0;
    const int closeError = errno;
    fd_ = -1;
    if (!synced || !closed) {
        return Fail("Cannot write", synced ? closeError : syncError);
    }
    if (::rename(tempPath_.c_str(), target_.c_str()) != 0) {
        return Fail("Cannot replace", errno);
    }
    committed_ = true;
    pendingFiles::Forget(tempPath_.c_str());
    SyncFolder(target_.parent_path());
    return true;
}

bool PendingFile::Fail(const char* what, int error) {
    error_ = std::string(what) + " \"" + target_.string() + "\": " + std::strerror(error);
    return false;
}

bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           std::string* error) {
    PendingFile file(path);
    const bool replaced = file.Write(bytes) && file.Commit();
    if (!replaced && error) {
        *error = file.Error();
    }
    return replaced;
}

} // namespace kestrix::base
