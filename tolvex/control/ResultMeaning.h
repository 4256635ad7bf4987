#pragma once

#include <cstdint>

namespace tolvex {

// A short English text for a result or last-error code. Codes 1..255 without a meaning of their
// own are device exception codes; codes above 255 are none the control reports.
const char* ResultMeaning(uint16_t code);

} // namespace tolvex
