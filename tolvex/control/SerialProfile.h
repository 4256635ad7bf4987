#pragma once

#include "ReadTimeouts.h"
#include "tolvex/tolvex_constants.h"

#include <cstdint>

namespace tolvex {

constexpr short kBaudIndexCount = TOLVEX_B115200 + 1;

// The bit rate of a BaudRate property value, or 0 for a value outside 0..11.
uint32_t BaudRateOf(short baudIndex);

// The serial timeouts for a rate index, protocol mode (0 RTU, 1 ASCII) and reply timeout in ms.
// Only called with a valid rate index (the port opens only then).
SerialTimeouts TimeoutsFor(short baudIndex, short protocolMode, short timeoutMs);

} // namespace tolvex
