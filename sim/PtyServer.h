#pragma once

#include "LineSession.h"

#include <chrono>
#include <string>

namespace kestrix::sim {

struct ServeOptions {
    std::string linkPath;
    // Send at the line rate, 10 bits a character.
    bool pace = false;
    // Pause between a request and its answer.
    std::chrono::milliseconds turnaround{0};
};

// A raw pseudo-terminal reached through a symbolic link. The controller side stays open while
// clients open and close the device, so a client may come back.
class PtyServer {
public:
    // Opens the terminal and makes the link; throws std::runtime_error with a message.
    explicit PtyServer(const ServeOptions& options);
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;
    // Closes the terminal and removes the link if it still leads to it.
    ~PtyServer();

    const std::string& DevicePath() const { return devicePath_; }

    enum class Ending { Stopped, HungUp };
    // Serves the session until stopFd becomes readable, or until a request comes after the
    // session wants the line hung up.
    Ending Serve(LineSession& session, int stopFd);

private:
    void MakeLink();
    void Send(const Transmission& transmission);
    bool WriteWithin(const uint8_t* bytes, size_t count, std::chrono::milliseconds limit);
    void HangUp();

    ServeOptions options_;
    int controller_ = -1;
    std::string devicePath_;
    bool linked_ = false;
};

} // namespace kestrix::sim
