#include "PollWait.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>

namespace tolvex {
namespace {

int MillisecondsUntil(std::optional<Clock::time_point> deadline) {
    if (!deadline) {
        return -1;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 1'000'000'000));
}

} // namespace

PollOutcome WaitReady(int fd, short events, std::optional<Clock::time_point> deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, MillisecondsUntil(deadline));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return PollOutcome::Failed;
        }
        if (ready == 0) {
            return PollOutcome::TimedOut;
        }
        if (entry.revents & events) {
            return PollOutcome::Ready;
        }
        return PollOutcome::Failed; // POLLHUP, POLLERR or POLLNVAL alone
    }
}

} // namespace tolvex
