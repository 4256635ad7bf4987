#pragma once

// The start-up steps that need no window: where the configuration file is,
// and whether another instance of the program is already running.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QLockFile;

namespace kestrix::startup {

// Shown in a "Warning" box when a second instance starts.
inline constexpr std::string_view kAlreadyRunningMessage = "Kestrix is already running!";
inline constexpr std::string_view kAlreadyRunningTitle = "Warning";

// The program's arguments (options left out) joined by single spaces, verbatim.
std::string CommandLineText(const std::vector<std::string>& arguments);

// The command line itself when it is not empty (quotes and all), else
// "config.ini" in the data folder.
std::string ConfigFilePath(const std::string& commandLine, const std::string& dataFolder);
std::string ConfigFilePath(const std::string& commandLine);

// A lock file in the user's runtime folder, held for the object's lifetime; the lock of a
// process that ended without releasing it counts as free.
class InstanceLock {
public:
    InstanceLock();
    explicit InstanceLock(const std::string& lockFilePath);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True only when another process holds the lock. When the lock file
    // cannot be made at all the program is let run.
    bool AnotherInstanceRunning() const { return heldElsewhere_; }

    // $XDG_RUNTIME_DIR/kestrix.lock, else /tmp/kestrix-<uid>/kestrix.lock.
    static std::string DefaultLockFilePath();

    // Where the running instance listens for a second one: beside the lock file.
    static std::string RaiseSocketPath(const std::string& lockFilePath);

private:
    std::unique_ptr<QLockFile> lock_;
    bool heldElsewhere_ = false;
};

} // namespace kestrix::startup
