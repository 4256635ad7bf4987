#pragma once

#include "RequestSlot.h"

namespace tolvex {

// Whether a request may be defined on a handle: handle, rate, slave address, function code and
// the quantity limits of each function.
bool IsAcceptableRequest(uint16_t handle, uint32_t updateRate, const RequestDefinition& request);

} // namespace tolvex
