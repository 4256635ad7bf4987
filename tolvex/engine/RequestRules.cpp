#include "RequestRules.h"

#include "FunctionCode.h"

#include <limits>

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
    if (r.function > std::numeric_limits<uint8_t>::max()) {
        return false;
    }
    switch (static_cast<FunctionCode>(r.function)) {
    case FunctionCode::ReadCoils:
    case FunctionCode::ReadDiscreteInputs:
        return r.slave != 0 && Within(r.readQuantity, 1, kMaxBits);
    case FunctionCode::ReadHoldingRegisters:
    case FunctionCode::ReadInputRegisters:
        return r.slave != 0 && Within(r.readQuantity, 1, kMaxReadRegisters);
    case FunctionCode::WriteSingleCoil:
    case FunctionCode::WriteSingleRegister:
        return r.writeQuantity <= 1;
    case FunctionCode::WriteMultipleCoils:
        return Within(r.writeQuantity, 1, kMaxBits);
    case FunctionCode::WriteMultipleRegisters:
        return Within(r.writeQuantity, 1, kMaxWriteRegisters);
    case FunctionCode::ReadWriteMultipleRegisters:
        return r.slave != 0 && r.readQuantity <= kMaxReadRegisters &&
               Within(r.writeQuantity, 1, kMaxReadWriteRegisters);
    }
    return false;
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
