#include "PeerProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tolvex::test {
namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr int kStartupWaitMs = 60000;
constexpr auto kExitWait = std::chrono::seconds(10);

bool WaitForExit(pid_t pid, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        const pid_t done = ::waitpid(pid, nullptr, WNOHANG);
        if (done == pid || (done < 0 && errno == ECHILD)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

} // namespace

PeerProcess::PeerProcess(const std::string& mode) {
    int input[2];
    int output[2];
    if (::access(kPython, X_OK) != 0 || ::pipe2(input, O_CLOEXEC) != 0) {
        failure_ = "no system Python";
        return;
    }
    if (::pipe2(output, O_CLOEXEC) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        failure_ = "no pipe";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::string script = TOLVEX_PEER_SCRIPT;
    std::string modeArgument = mode;
    std::vector<char*> argv{const_cast<char*>(kPython), script.data(), modeArgument.data(),
                            nullptr};
    const int spawned = ::posix_spawn(&pid_, kPython, &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(input[0]);
    ::close(output[1]);
    toPeer_ = input[1];
    fromPeer_ = output[0];
    if (spawned != 0) {
        pid_ = -1;
        failure_ = "the peer could not be started";
        return;
    }
    AwaitAnnouncement();
}

void PeerProcess::AwaitAnnouncement() {
    std::string line;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartupWaitMs);
    while (line.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd entry{fromPeer_, POLLIN, 0};
        char chunk[256];
        ssize_t got = 0;
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0 ||
            (got = ::read(fromPeer_, chunk, sizeof chunk)) <= 0) {
            failure_ = "the peer did not announce itself (pymodbus or socat missing?)";
            return;
        }
        line.append(chunk, static_cast<size_t>(got));
    }
    const std::string prefix = "READY ";
    if (line.rfind(prefix, 0) != 0) {
        failure_ = "unexpected peer output: " + line;
        return;
    }
    where_ = line.substr(prefix.size(), line.find('\n') - prefix.size());
}

PeerProcess::~PeerProcess() {
    if (toPeer_ >= 0) {
        ::close(toPeer_);
    }
    if (pid_ > 0 && !WaitForExit(pid_, kExitWait)) {
        ::kill(-pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (fromPeer_ >= 0) {
        ::close(fromPeer_);
    }
}

} // namespace tolvex::test
