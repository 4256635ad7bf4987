#pragma once

#include <cstdint>
#include <span>

namespace tolvex {

// The serial timeouts in milliseconds, in the classic order of the serial driver.
struct SerialTimeouts {
    static constexpr uint32_t kNoInterval = 0xFFFFFFFF;
    uint32_t readInterval = kNoInterval;
    uint32_t readMultiplier = 0;
    uint32_t readConstant = 0;
    uint32_t writeMultiplier = 0;
    uint32_t writeConstant = 0;
};

// Reads up to buffer.size() bytes from a non-blocking descriptor. The read ends when the buffer
// is full, when the gap after a received byte exceeds the interval, or when multiplier x count +
// constant has passed. An interval of kNoInterval with no total timeout returns at once with
// what is waiting. Returns the bytes read, or -1 when the read fails or the device is gone
// (hang-up, error, or a readable descriptor that yields nothing).
int ReadWithTimeouts(int fd, std::span<uint8_t> buffer, const SerialTimeouts& timeouts);

// Writes all bytes within writeMultiplier x count + writeConstant (no limit when both are 0).
bool WriteWithTimeouts(int fd, std::span<const uint8_t> bytes, const SerialTimeouts& timeouts);

} // namespace tolvex
