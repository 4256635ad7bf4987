#pragma once

#include <cstdint>

namespace tolvex {

enum class Parity : uint8_t { None = 0, Odd = 1, Even = 2 };

struct LineSettings {
    uint32_t baudRate = 9600;
    int byteSize = 8; // 7 or 8
    Parity parity = Parity::None;
    bool twoStopBits = false;
};

// Raw binary line without flow control, receiver on, parity checked when used, any bit rate the
// driver accepts (non-standard ones through BOTHER). False when the driver refuses.
bool ApplyLineSettings(int fd, const LineSettings& settings);

} // namespace tolvex
