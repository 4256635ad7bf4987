#pragma once

#include <string>
#include <sys/types.h>

namespace tolvex::test {

// The pymodbus slave of the protocol tests, run as a child process in "rtu", "ascii" or "tcp"
// mode. Where() is what it announced: the client end of its pseudo-terminal pair, or its TCP port.
class PeerProcess {
public:
    explicit PeerProcess(const std::string& mode);
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;
    ~PeerProcess();

    const std::string& Where() const { return where_; }

private:
    std::string ReadAnnouncement();

    pid_t pid_ = -1;
    int toPeer_ = -1;
    int fromPeer_ = -1;
    std::string where_;
};

} // namespace tolvex::test
