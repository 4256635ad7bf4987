#pragma once

#include <chrono>
#include <optional>

namespace tolvex {

using Clock = std::chrono::steady_clock;

enum class PollOutcome { Ready, TimedOut, Failed };

// Waits until fd is ready for events or the deadline passes (no deadline: wait indefinitely).
// Hang-up or error without the awaited readiness counts as Failed, so callers never spin on a
// dead descriptor.
PollOutcome WaitReady(int fd, short events, std::optional<Clock::time_point> deadline);

} // namespace tolvex
