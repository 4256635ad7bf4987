#include "PtyPair.h"

#include <cerrno>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace tolvex::test {

PtyPair::PtyPair() {
    char name[256] = {};
    if (::openpty(&controller_, &device_, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    termios tio{};
    ::tcgetattr(device_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(device_, TCSANOW, &tio);
    devicePath_ = name;
}

PtyPair::~PtyPair() {
    CloseController();
    ::close(device_);
}

void PtyPair::Write(std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(controller_, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno != EINTR) {
            throw std::runtime_error("write to pseudo-terminal failed");
        }
        done += put > 0 ? static_cast<size_t>(put) : 0;
    }
}

void PtyPair::Write(const std::string& text) {
    Write(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::vector<uint8_t> PtyPair::Read(size_t count, std::chrono::milliseconds quietPeriod) {
    std::vector<uint8_t> bytes;
    while (bytes.size() < count) {
        pollfd entry{controller_, POLLIN, 0};
        if (::poll(&entry, 1, static_cast<int>(quietPeriod.count())) <= 0 ||
            !(entry.revents & POLLIN)) {
            break;
        }
        uint8_t chunk[512];
        const ssize_t got =
            ::read(controller_, chunk, std::min(sizeof chunk, count - bytes.size()));
        if (got <= 0) {
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

termios PtyPair::LineSettings() const {
    termios tio{};
    ::tcgetattr(device_, &tio);
    return tio;
}

void PtyPair::CloseController() {
    if (controller_ >= 0) {
        ::close(controller_);
        controller_ = -1;
    }
}

} // namespace tolvex::test
