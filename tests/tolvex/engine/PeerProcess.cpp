#include "PeerProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tolvex::test {
namespace {

using namespace std::chrono_literals;

constexpr int kStartWaitMs = 30000;
constexpr auto kExitWait = 5s;
constexpr const char* kPython = "/usr/bin/python3";
const std::string kReady = "READY ";

} // namespace

PeerProcess::PeerProcess(const std::string& mode) {
    int input[2];
    int output[2];
    if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create the peer's pipes");
    }
    pid_ = fork();
    if (pid_ == 0) {
        dup2(input[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        execl(kPython, kPython, TOLVEX_PEER_SCRIPT, mode.c_str(), nullptr);
        _exit(127);
    }
    close(input[0]);
    close(output[1]);
    toPeer_ = input[1];
    fromPeer_ = output[0];
    where_ = ReadAnnouncement();
}

PeerProcess::~PeerProcess() {
    // The peer stops when its standard input closes.
    close(toPeer_);
    close(fromPeer_);
    const auto deadline = std::chrono::steady_clock::now() + kExitWait;
    while (waitpid(pid_, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            return;
        }
        std::this_thread::sleep_for(20ms);
    }
}

std::string PeerProcess::ReadAnnouncement() {
    std::string line;
    pollfd entry{fromPeer_, POLLIN, 0};
    char c;
    while (poll(&entry, 1, kStartWaitMs) > 0 && read(fromPeer_, &c, 1) == 1) {
        if (c == '\n') {
            if (line.rfind(kReady, 0) == 0) {
                return line.substr(kReady.size());
            }
            line.clear();
        } else {
            line += c;
        }
    }
    throw std::runtime_error("the Modbus peer did not start");
}

} // namespace tolvex::test
