#include "kestrix/base/pendingFileCleanup.h"

#include <array>
#include <atomic>
#include <csignal>
#include <unistd.h>

namespace kestrix::base {
namespace {

// More files than a program ever writes at once.
constexpr std::size_t kSlots = 32;
constexpr std::array kInterrupts = {SIGINT, SIGTERM};

std::array<std::atomic<const char*>, kSlots> pendingPaths{};

static_assert(std::atomic<const char*>::is_always_lock_free,
              "the signal handler may only read lock-free atomics");

extern "C" void RemovePendingFilesAndEnd(int signal) {
    for (const auto& slot : pendingPaths) {
        if (const char* path = slot.load()) {
            ::unlink(path);
        }
    }
    // SA_RESETHAND restored the default action; it runs once the handler returns.
    ::raise(signal);
}

} // namespace

void RemovePendingFilesOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = RemovePendingFilesAndEnd;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int signal : kInterrupts) {
        sigaddset(&action.sa_mask, signal);
    }
    for (const int signal : kInterrupts) {
        ::sigaction(signal, &action, nullptr);
    }
}

namespace pendingFiles {

void Remember(const char* path) {
    for (auto& slot : pendingPaths) {
        const char* empty = nullptr;
        if (slot.compare_exchange_strong(empty, path)) {
            return;
        }
    }
}

void Forget(const char* path) {
    for (auto& slot : pendingPaths) {
        const char* expected = path;
        if (slot.compare_exchange_strong(expected, nullptr)) {
            return;
        }
    }
}

} // namespace pendingFiles

} // namespace kestrix::base
