#pragma once

#include "tolvex/tolvex_constants.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tolvex {

constexpr int kHandleCount = 100;
constexpr size_t kAreaBytes = 2000;

using DataArea = std::array<uint8_t, kAreaBytes>;

enum class UpdateMode : uint16_t {
    Disabled = TOLVEX_UPDATE_DISABLED,
    Cyclic = TOLVEX_UPDATE_CYCLIC,
    Once = TOLVEX_UPDATE_ONCE,
};

// Receives completion notices from the worker thread. Post returns false when the notice could
// not be queued; the engine then tries again a few times.
class NoticeSink {
public:
    virtual bool Post(uint16_t code, uint16_t handle) = 0;

protected:
    ~NoticeSink() = default;
};

// One Modbus request as the host described it.
struct RequestDefinition {
    uint16_t slave = 0;
    uint16_t function = 0;
    uint16_t readAddress = 0;
    uint16_t readQuantity = 0;
    uint16_t writeAddress = 0;
    uint16_t writeQuantity = 0;
};

struct RequestSlot {
    NoticeSink* owner = nullptr;
    RequestDefinition request;
    uint32_t updateRate = 0;
    bool defined = false;
    bool redefined = false;
    // Read by IsBusy without the table lock.
    std::atomic<bool> busy{false};
    UpdateMode mode = UpdateMode::Disabled;
    uint32_t elapsed = 0;
    DataArea writeBuffer{};
};

} // namespace tolvex
