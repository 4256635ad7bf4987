#pragma once

// The start-up steps that need no window: where the configuration file is,
// and whether another instance of the program is already running.

#include <string>
#include <string_view>

namespace kestrix::startup {

// Shown in a "Warning" box when a second instance starts.
inline constexpr std::string_view kAlreadyRunningMessage = "Kestrix is already running!";
inline constexpr std::string_view kAlreadyRunningTitle = "Warning";

// The program's arguments (argv[1] on) joined by single spaces, verbatim.
std::string CommandLineText(int argc, const char* const* argv);

// The command line itself when it is not empty (quotes and all), else
// "config.ini" in the data folder.
std::string ConfigFilePath(const std::string& commandLine, const std::string& dataFolder);
std::string ConfigFilePath(const std::string& commandLine);

// An exclusive lock on a file in the user's runtime folder, held for the
// object's lifetime; the lock goes away with the process, however it ends.
class InstanceLock {
public:
    InstanceLock();
    explicit InstanceLock(const std::string& lockFilePath);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True only when another process holds the lock. When the lock file
    // cannot be opened at all the program is let run.
    bool AnotherInstanceRunning() const { return heldElsewhere_; }

    // $XDG_RUNTIME_DIR/kestrix.lock, else /tmp/kestrix-<uid>/kestrix.lock.
    static std::string DefaultLockFilePath();

private:
    int fd_ = -1;
    bool heldElsewhere_ = false;
};

} // namespace kestrix::startup
