#pragma once

#include <string>
#include <sys/types.h>

namespace tolvex::test {

// The Modbus peer script run by the system Python in its own process group. It serves until its
// standard input closes; the destructor closes it, waits, and kills the group if it lingers.
class PeerProcess {
public:
    explicit PeerProcess(const std::string& mode);
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;
    ~PeerProcess();

    bool Ready() const { return !where_.empty(); }
    // The client device path (serial modes) or the TCP port (tcp mode).
    const std::string& Where() const { return where_; }
    const std::string& Failure() const { return failure_; }

private:
    void AwaitAnnouncement();

    pid_t pid_ = -1;
    int toPeer_ = -1;
    int fromPeer_ = -1;
    std::string where_;
    std::string failure_;
};

} // namespace tolvex::test
