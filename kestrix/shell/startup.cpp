#include "kestrix/shell/startup.h"

#include "kestrix/shell/folders.h"

#include <QLockFile>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrix::startup {

namespace {

constexpr const char* kLockFileName = "kestrix.lock";
constexpr const char* kRaiseSocketName = "kestrix.socket";

// The fallback folder in /tmp must be our own private folder, not one that
// another user prepared for us.
bool IsPrivateFolder(const std::string& folder) {
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

} // namespace

std::string CommandLineText(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        if (&argument != &arguments.front()) {
            text += ' ';
        }
        text += argument;
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

std::string InstanceLock::RaiseSocketPath(const std::string& lockFilePath) {
    const std::size_t slash = lockFilePath.rfind('/');
    return slash == std::string::npos ? std::string()
                                      : lockFilePath.substr(0, slash + 1) + kRaiseSocketName;
}

InstanceLock::InstanceLock() : InstanceLock(DefaultLockFilePath()) {}

InstanceLock::InstanceLock(const std::string& lockFilePath) {
    if (lockFilePath.empty()) {
        return;
    }
    lock_ = std::make_unique<QLockFile>(QString::fromStdString(lockFilePath));
    // Only a lock whose process is gone is stale, however long the program runs.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        heldElsewhere_ = lock_->error() == QLockFile::LockFailedError;
        lock_.reset();
    }
}

InstanceLock::~InstanceLock() = default;

} // namespace kestrix::startup
