#include "PtyServer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace kestrix::sim {
namespace {

using namespace std::chrono_literals;

constexpr auto kNoClientPause = 20ms;
constexpr auto kWriteLimit = 2000ms;
constexpr auto kPacingSlice = 10ms;
constexpr int kBitsPerCharacter = 10;

std::runtime_error SystemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

std::string LinkTarget(const std::string& link) {
    std::array<char, PATH_MAX> target{};
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size() - 1);
    return length < 0 ? std::string() : std::string(target.data(), static_cast<size_t>(length));
}

bool WaitForStop(int stopFd, std::chrono::milliseconds pause) {
    pollfd entry{stopFd, POLLIN, 0};
    return ::poll(&entry, 1, static_cast<int>(pause.count())) > 0 && (entry.revents & POLLIN);
}

} // namespace

PtyServer::PtyServer(const ServeOptions& options) : options_(options) {
    int device = -1;
    std::array<char, PATH_MAX> name{};
    if (::openpty(&controller_, &device, name.data(), nullptr, nullptr) != 0) {
        throw SystemError("cannot open a pseudo-terminal");
    }
    termios settings{};
    ::tcgetattr(device, &settings);
    ::cfmakeraw(&settings);
    ::cfsetspeed(&settings, B19200);
    ::tcsetattr(device, TCSANOW, &settings);
    // Holding the device open would keep a client's exclusive-use flag alive past its close
    // and lock it out when it comes back.
    ::close(device);
    ::fcntl(controller_, F_SETFL, ::fcntl(controller_, F_GETFL) | O_NONBLOCK);
    devicePath_ = name.data();
    try {
        MakeLink();
    } catch (...) {
        ::close(controller_);
        throw;
    }
}

PtyServer::~PtyServer() {
    HangUp();
    if (linked_ && LinkTarget(options_.linkPath) == devicePath_) {
        ::unlink(options_.linkPath.c_str());
    }
}

// Replaces a stale link in one step, but never a file that is not a link.
void PtyServer::MakeLink() {
    struct stat existing {};
    if (::lstat(options_.linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        throw std::runtime_error(options_.linkPath + ": exists and is not a symbolic link");
    }
    const std::string temporary = options_.linkPath + ".new" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(devicePath_.c_str(), temporary.c_str()) != 0) {
        throw SystemError(options_.linkPath + ": cannot make the link");
    }
    if (::rename(temporary.c_str(), options_.linkPath.c_str()) != 0) {
        const auto error = SystemError(options_.linkPath + ": cannot make the link");
        ::unlink(temporary.c_str());
        throw error;
    }
    linked_ = true;
}

void PtyServer::HangUp() {
    if (controller_ >= 0) {
        ::close(controller_);
        controller_ = -1;
    }
}

PtyServer::Ending PtyServer::Serve(LineSession& session, int stopFd) {
    std::array<uint8_t, 4096> buffer{};
    while (true) {
        std::array<pollfd, 2> fds{{{stopFd, POLLIN, 0}, {controller_, POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) {
            throw SystemError("poll");
        }
        if (fds[0].revents & POLLIN) {
            return Ending::Stopped;
        }
        const short events = fds[1].revents;
        if (events & POLLIN) {
            const ssize_t got = ::read(controller_, buffer.data(), buffer.size());
            if (got > 0) {
                // Hanging up on the next request lets the last answer reach the client first.
                if (session.HangUpDue()) {
                    HangUp();
                    return Ending::HungUp;
                }
                for (const Transmission& transmission :
                     session.Receive(std::span(buffer).first(static_cast<size_t>(got)))) {
                    Send(transmission);
                }
                continue;
            }
        }
        // No client has the device open: the controller keeps reporting a hang-up until one
        // comes, so wait on the stop alone for a while.
        if (events != 0 && WaitForStop(stopFd, kNoClientPause)) {
            return Ending::Stopped;
        }
    }
}

void PtyServer::Send(const Transmission& transmission) {
    std::this_thread::sleep_for(options_.turnaround);
    if (!options_.pace) {
        WriteWithin(transmission.bytes.data(), transmission.bytes.size(), kWriteLimit);
        return;
    }
    // Slices of what the line carries in 10 ms, each sent when the line would have finished
    // the one before.
    const size_t charactersPerSecond = transmission.bitRate / kBitsPerCharacter;
    const size_t slice = std::max<size_t>(1, charactersPerSecond * kPacingSlice.count() / 1000);
    const auto start = std::chrono::steady_clock::now();
    for (size_t sent = 0; sent < transmission.bytes.size(); sent += slice) {
        const size_t count = std::min(slice, transmission.bytes.size() - sent);
        if (!WriteWithin(transmission.bytes.data() + sent, count, kWriteLimit)) {
            return;
        }
        const auto lineTime =
            std::chrono::microseconds((sent + count) * 1000000 / charactersPerSecond);
        std::this_thread::sleep_until(start + lineTime);
    }
}

// A client that stops reading must not stall the instrument: what cannot go out in time is lost.
bool PtyServer::WriteWithin(const uint8_t* bytes, size_t count, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (count > 0) {
        const ssize_t put = ::write(controller_, bytes, count);
        if (put > 0) {
            bytes += put;
            count -= static_cast<size_t>(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd entry{controller_, POLLOUT, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
    }
    return true;
}

} // namespace kestrix::sim
