#pragma once

#include "RequestSlot.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>

namespace tolvex {

struct Notice {
    uint16_t code;
    uint16_t handle;
};

// A fixed-size queue of completion notices between the worker and the host, with a descriptor
// that is readable exactly while notices wait.
class NoticeQueue : public NoticeSink {
public:
    static constexpr size_t kCapacity = 1024;

    NoticeQueue();
    NoticeQueue(const NoticeQueue&) = delete;
    NoticeQueue& operator=(const NoticeQueue&) = delete;
    ~NoticeQueue();

    // False when the queue is full.
    bool Post(uint16_t code, uint16_t handle) override;
    std::optional<Notice> Take();
    size_t Waiting() const;
    int Descriptor() const { return eventFd_; }

private:
    void Signal();
    void Unsignal();

    std::array<Notice, kCapacity> ring_{};
    size_t head_ = 0;
    size_t count_ = 0;
    mutable std::mutex lock_;
    int eventFd_;
};

} // namespace tolvex
