#pragma once

#include <cstdint>

namespace tolvex {

// A short English text for a result or last-error code; codes without a fixed meaning are device
// exception codes.
const char* ResultMeaning(uint16_t code);

} // namespace tolvex
