#include "NoticeQueue.h"

#include <cstdint>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>

namespace tolvex {

NoticeQueue::NoticeQueue() : eventFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (eventFd_ < 0) {
        throw std::runtime_error("cannot create the event descriptor");
    }
}

NoticeQueue::~NoticeQueue() {
    close(eventFd_);
}

bool NoticeQueue::Post(uint16_t code, uint16_t handle) {
    std::lock_guard lock(lock_);
    if (count_ == kCapacity) {
        return false;
    }
    ring_[(head_ + count_) % kCapacity] = Notice{code, handle};
    if (++count_ == 1) {
        Signal();
    }
    return true;
}

std::optional<Notice> NoticeQueue::Take() {
    std::lock_guard lock(lock_);
    if (count_ == 0) {
        return std::nullopt;
    }
    const Notice notice = ring_[head_];
    head_ = (head_ + 1) % kCapacity;
    if (--count_ == 0) {
        Unsignal();
    }
    return notice;
}

size_t NoticeQueue::Waiting() const {
    std::lock_guard lock(lock_);
    return count_;
}

void NoticeQueue::Signal() {
    const uint64_t one = 1;
    // Cannot fail short of the counter's overflow, which one signal per empty queue never nears.
    [[maybe_unused]] const ssize_t written = write(eventFd_, &one, sizeof one);
}

void NoticeQueue::Unsignal() {
    uint64_t value;
    [[maybe_unused]] const ssize_t got = read(eventFd_, &value, sizeof value);
}

} // namespace tolvex
