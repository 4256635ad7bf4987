#pragma once

#include "RequestSlot.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace tolvex::test {

struct RecordedNotice {
    uint16_t code;
    uint16_t handle;
};

// Collects the engine's completion notices; can refuse them to exercise the posting retries.
class NoticeRecorder : public NoticeSink {
public:
    bool Post(uint16_t code, uint16_t handle) override {
        std::lock_guard lock(lock_);
        ++attempts_;
        if (refusing_) {
            return false;
        }
        notices_.push_back({code, handle});
        changed_.notify_all();
        return true;
    }

    // Waits (bounded, so a fault cannot hang the suite) until count notices have arrived.
    bool WaitFor(size_t count) {
        std::unique_lock lock(lock_);
        return changed_.wait_for(lock, std::chrono::seconds(10),
                                 [&] { return notices_.size() >= count; });
    }

    std::vector<RecordedNotice> Notices() const {
        std::lock_guard lock(lock_);
        return notices_;
    }

    void Refuse(bool refusing) {
        std::lock_guard lock(lock_);
        refusing_ = refusing;
    }

    int Attempts() const {
        std::lock_guard lock(lock_);
        return attempts_;
    }

private:
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<RecordedNotice> notices_;
    bool refusing_ = false;
    int attempts_ = 0;
};

} // namespace tolvex::test
