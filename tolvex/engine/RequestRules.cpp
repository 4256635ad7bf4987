#include "RequestRules.h"

namespace tolvex {
namespace {

constexpr uint32_t kFastestRate = 50;
constexpr uint32_t kSlowestRate = 600000;
constexpr uint16_t kMaxSlave = 255;
constexpr uint16_t kMaxBits = 1968;
constexpr uint16_t kMaxReadRegisters = 125;
constexpr uint16_t kMaxWriteRegisters = 123;
constexpr uint16_t kMaxReadWriteRegisters = 121;

bool Within(uint16_t value, uint16_t low, uint16_t high) {
    return value >= low && value <= high;
}

bool QuantitiesFit(const RequestDefinition& r) {
    switch (r.function) {
    case 1:
    case 2:
        return r.slave != 0 && Within(r.readQuantity, 1, kMaxBits);
    case 3:
    case 4:
        return r.slave != 0 && Within(r.readQuantity, 1, kMaxReadRegisters);
    case 5:
    case 6:
        return r.writeQuantity <= 1;
    case 15:
        return Within(r.writeQuantity, 1, kMaxBits);
    case 16:
        return Within(r.writeQuantity, 1, kMaxWriteRegisters);
    case 23:
        return r.slave != 0 && r.readQuantity <= kMaxReadRegisters &&
               Within(r.writeQuantity, 1, kMaxReadWriteRegisters);
    default:
        return false;
    }
}

} // namespace

bool IsAcceptableRequest(uint16_t handle, uint32_t updateRate, const RequestDefinition& request) {
    if (handle >= kHandleCount) {
        return false;
    }
    // Handle 0 is the immediate handle and runs at once whatever its rate.
    if (handle != 0 && (updateRate < kFastestRate || updateRate > kSlowestRate)) {
        return false;
    }
    return request.slave <= kMaxSlave && QuantitiesFit(request);
}

} // namespace tolvex
