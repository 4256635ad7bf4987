#pragma once

#include "CTolvexCtrl.h"

#include <chrono>
#include <poll.h>
#include <thread>
#include <vector>

namespace tolvex::test {

struct FiredEvent {
    short handle;
    short error; // 0 for ResultOk
    std::thread::id thread;
};

// Plays the host: records the control's events and runs its event loop on the calling thread.
class HostLoop {
public:
    explicit HostLoop(CTolvexCtrl& control) : control_(control) {
        control_.SetEventHandlers({
            [this](short handle) {
                events.push_back({handle, 0, std::this_thread::get_id()});
            },
            [this](short handle, short error) {
                events.push_back({handle, error, std::this_thread::get_id()});
            },
        });
    }

    // Waits on the control's descriptor and dispatches until count events have fired; bounded so
    // that a fault fails the test instead of hanging it.
    bool RunUntil(size_t count) {
        return RunWhile([&] { return events.size() < count; });
    }

    // Dispatches while the condition holds; bounded as RunUntil.
    template <class Condition>
    bool RunWhile(Condition condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        pollfd entry{control_.EventDescriptor(), POLLIN, 0};
        while (condition()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            if (poll(&entry, 1, 10) > 0) {
                control_.DispatchEvents();
            }
        }
        return true;
    }

    bool RunOnce(short handle) {
        const size_t before = events.size();
        return control_.UpdateOnce(handle) && RunUntil(before + 1);
    }

    std::vector<FiredEvent> events;

private:
    CTolvexCtrl& control_;
};

} // namespace tolvex::test
