#pragma once

#include "LineSettings.h"
#include "ReadTimeouts.h"

#include <atomic>
#include <cstdint>
#include <span>

namespace tolvex {

enum class RtsMode : uint8_t { Disable = 0, Enable = 1, Toggle = 2 };

enum class PurgeQueue { Receive, Transmit };

// A serial port opened by its number in the port table, used exclusively (TIOCEXCL plus an
// advisory lock), with the three-way read timeout.
class SerialPort {
public:
    SerialPort() = default;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;
    ~SerialPort();

    // Port 1..32. Fails when the port is open already or cannot be had exclusively. When the line
    // cannot be configured it fails but keeps the device open, so IsOpen() is true until Close().
    bool Open(int port, const LineSettings& settings);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Stores the timeouts; false (still stored) while the port is closed.
    bool SetTimeouts(const SerialTimeouts& timeouts);
    SerialTimeouts GetTimeouts() const { return timeouts_; }

    void SetRtsMode(uint8_t mode) { rtsMode_.store(mode, std::memory_order_relaxed); }
    uint8_t GetRtsMode() const { return rtsMode_.load(std::memory_order_relaxed); }

    bool WriteFrame(std::span<const uint8_t> frame);
    // Bytes read (0 when nothing came), or -1 when the read failed or the device is gone.
    int ReadFrame(std::span<uint8_t> buffer);
    void Purge(PurgeQueue queue);
    // Waits until the transmit queue has gone out on the line.
    void Drain();

private:
    bool LockExclusively();
    void RequestLowLatency();
    bool Configure(const LineSettings& settings);
    bool WriteWithManualRts(std::span<const uint8_t> frame);

    int fd_ = -1;
    SerialTimeouts timeouts_;
    std::atomic<uint8_t> rtsMode_{static_cast<uint8_t>(RtsMode::Disable)};
    bool kernelRtsToggle_ = false;
};

} // namespace tolvex
