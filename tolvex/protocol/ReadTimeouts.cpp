#include "ReadTimeouts.h"

#include "PollWait.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace tolvex {
namespace {

using std::chrono::milliseconds;

std::optional<Clock::time_point> TotalDeadline(Clock::time_point start, uint32_t multiplier,
                                               uint32_t constant, size_t count) {
    if (multiplier == 0 && constant == 0) {
        return std::nullopt;
    }
    const uint64_t total = uint64_t{multiplier} * count + constant;
    return start + milliseconds(total);
}

bool UsesInterval(uint32_t interval) {
    return interval != 0 && interval != SerialTimeouts::kNoInterval;
}

std::optional<Clock::time_point> Earliest(std::optional<Clock::time_point> a,
                                          std::optional<Clock::time_point> b) {
    if (!a) {
        return b;
    }
    if (!b) {
        return a;
    }
    return std::min(*a, *b);
}

// One read of whatever is waiting: bytes read, 0 if nothing was waiting, -1 on failure.
int ReadAvailable(int fd, std::span<uint8_t> buffer) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got > 0) {
            return static_cast<int>(got);
        }
        if (got == 0) {
            return -1; // readable yet empty: the device is gone
        }
        if (errno == EINTR) {
            continue;
        }
        return (errno == EAGAIN || errno == EWOULDBLOCK) ? 0 : -1;
    }
}

int ReadWaitingOnly(int fd, std::span<uint8_t> buffer) {
    switch (WaitReady(fd, POLLIN, Clock::now())) {
    case PollOutcome::Ready:
        return ReadAvailable(fd, buffer);
    case PollOutcome::TimedOut:
        return 0;
    case PollOutcome::Failed:
        break;
    }
    return -1;
}

} // namespace

int ReadWithTimeouts(int fd, std::span<uint8_t> buffer, const SerialTimeouts& timeouts) {
    if (timeouts.readInterval == SerialTimeouts::kNoInterval && timeouts.readMultiplier == 0 &&
        timeouts.readConstant == 0) {
        return ReadWaitingOnly(fd, buffer);
    }
    const auto total =
        TotalDeadline(Clock::now(), timeouts.readMultiplier, timeouts.readConstant, buffer.size());
    std::optional<Clock::time_point> intervalEnd;
    size_t received = 0;
    while (received < buffer.size()) {
        switch (WaitReady(fd, POLLIN, Earliest(total, intervalEnd))) {
        case PollOutcome::TimedOut:
            return static_cast<int>(received);
        case PollOutcome::Failed:
            return -1;
        case PollOutcome::Ready:
            break;
        }
        const int got = ReadAvailable(fd, buffer.subspan(received));
        if (got < 0) {
            return -1;
        }
        received += static_cast<size_t>(got);
        if (got > 0 && UsesInterval(timeouts.readInterval)) {
            intervalEnd = Clock::now() + milliseconds(timeouts.readInterval);
        }
    }
    return static_cast<int>(received);
}

bool WriteWithTimeouts(int fd, std::span<const uint8_t> bytes, const SerialTimeouts& timeouts) {
    const auto deadline =
        TotalDeadline(Clock::now(), timeouts.writeMultiplier, timeouts.writeConstant, bytes.size());
    size_t written = 0;
    while (written < bytes.size()) {
        if (WaitReady(fd, POLLOUT, deadline) != PollOutcome::Ready) {
            return false;
        }
        const ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (put < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) {
                continue;
            }
            return false;
        }
        written += static_cast<size_t>(put);
    }
    return true;
}

} // namespace tolvex
