#include "SimProcess.h"

#include "support/FileBytes.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kestrix::sim::test {
namespace {

using namespace std::chrono_literals;

// A guard against a program that never starts, not a measure of speed.
constexpr auto kStartWait = 20s;

pid_t Spawn(const std::vector<std::string>& arguments, int output, const std::string& errorPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> all{KESTRIX_SIM_EXECUTABLE};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        throw std::runtime_error("cannot start kestrix-sim");
    }
    return pid;
}

int StatusOf(int raw) {
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

} // namespace

SimProcess::SimProcess(const std::vector<std::string>& arguments) {
    char pattern[] = "/tmp/kestrix_sim_XXXXXX";
    if (!::mkdtemp(pattern)) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    folder_ = pattern;
    link_ = folder_ + "/ttySIM";
    statePath_ = folder_ + "/state.json";
    errorPath_ = folder_ + "/stderr.txt";
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        throw std::runtime_error("cannot make a pipe");
    }
    std::vector<std::string> all{"--link", link_, "--dump-state", statePath_};
    all.insert(all.end(), arguments.begin(), arguments.end());
    pid_ = Spawn(all, pipeFds[1], errorPath_);
    ::close(pipeFds[1]);
    output_ = pipeFds[0];
}

SimProcess::~SimProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    ::close(output_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

bool SimProcess::WaitReady() {
    const std::string ready = "READY " + link_ + "\n";
    const auto deadline = std::chrono::steady_clock::now() + kStartWait;
    while (outputText_.find(ready) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd entry{output_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
        char chunk[256];
        const ssize_t got = ::read(output_, chunk, sizeof chunk);
        if (got <= 0) {
            return false;
        }
        outputText_.append(chunk, static_cast<size_t>(got));
    }
    return true;
}

int SimProcess::Stop() {
    if (pid_ <= 0) {
        return -1;
    }
    ::kill(pid_, SIGTERM);
    int raw = 0;
    ::waitpid(pid_, &raw, 0);
    pid_ = -1;
    return StatusOf(raw);
}

std::optional<int> SimProcess::WaitExit(std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (pid_ > 0) {
        int raw = 0;
        if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
            pid_ = -1;
            return StatusOf(raw);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(10ms);
    }
    return std::nullopt;
}

std::string SimProcess::ErrorText() const {
    return test_support::ReadFileBytes(errorPath_);
}

std::string SimProcess::StateText() const {
    return test_support::ReadFileBytes(statePath_);
}

Finished RunToEnd(const std::vector<std::string>& arguments) {
    SimProcess process(arguments);
    process.WaitReady();
    Finished finished;
    finished.status = process.WaitExit(kStartWait).value_or(-1);
    finished.output = process.OutputText();
    finished.error = process.ErrorText();
    return finished;
}

} // namespace kestrix::sim::test
