#include "kestrix/shell/startup.h"

#include "kestrix/shell/folders.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrix::startup {

namespace {

constexpr const char* kLockFileName = "kestrix.lock";

// The fallback folder in /tmp must be our own private folder, not one that
// another user prepared for us.
bool IsPrivateFolder(const std::string& folder) {
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

} // namespace

std::string CommandLineText(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            text += ' ';
        }
        text += argv[i];
    }
    return text;
}

std::string ConfigFilePath(const std::string& commandLine, const std::string& dataFolder) {
    return commandLine.empty() ? dataFolder + "/config.ini" : commandLine;
}

std::string ConfigFilePath(const std::string& commandLine) {
    return ConfigFilePath(commandLine, commandLine.empty() ? shell::GetDataFolder() : "");
}

std::string InstanceLock::DefaultLockFilePath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') {
        return std::string(runtime) + "/" + kLockFileName;
    }
    const std::string folder = "/tmp/kestrix-" + std::to_string(::getuid());
    (void)::mkdir(folder.c_str(), 0700);
    return IsPrivateFolder(folder) ? folder + "/" + kLockFileName : std::string();
}

InstanceLock::InstanceLock() : InstanceLock(DefaultLockFilePath()) {}

InstanceLock::InstanceLock(const std::string& lockFilePath) {
    if (lockFilePath.empty()) {
        return;
    }
    fd_ = ::open(lockFilePath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        return;
    }
    int result;
    do {
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    heldElsewhere_ = result != 0 && errno == EWOULDBLOCK;
    if (result != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

} // namespace kestrix::startup
