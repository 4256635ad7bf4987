#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kestrix::sim::test {

// kestrix-sim started as a child with its link and state file in a fresh temporary folder;
// always killed and reaped at the end.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& arguments);
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess();

    // True once the READY line for the link came; false when the program ended before.
    bool WaitReady();
    // Sends SIGTERM and returns the exit status once the program has ended.
    int Stop();
    // The exit status, once the program has ended by itself within the wait.
    std::optional<int> WaitExit(std::chrono::milliseconds wait);

    const std::string& Link() const { return link_; }
    const std::string& StatePath() const { return statePath_; }
    std::string Folder() const { return folder_; }
    std::string ErrorText() const;
    const std::string& OutputText() const { return outputText_; }
    std::string StateText() const;

private:
    std::string folder_;
    std::string link_;
    std::string statePath_;
    std::string errorPath_;
    pid_t pid_ = -1;
    int output_ = -1;
    std::string outputText_;
};

struct Finished {
    int status = -1;
    std::string output;
    std::string error;
};

// Runs the program to its own end: for options that make it exit at once.
Finished RunToEnd(const std::vector<std::string>& arguments);

} // namespace kestrix::sim::test
