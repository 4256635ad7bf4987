#include "SerialPort.h"

#include "ModemLines.h"
#include "tolvex/PortTable.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace tolvex {

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::Open(int port, const LineSettings& settings) {
    if (IsOpen()) {
        return false;
    }
    const std::string device = GetPortDevice(port);
    if (device.empty()) {
        return false;
    }
    fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        return false;
    }
    if (!LockExclusively()) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    return Configure(settings);
}

bool SerialPort::LockExclusively() {
    // Another user of the device gets EBUSY from TIOCEXCL or fails to take the lock.
    return ::ioctl(fd_, TIOCEXCL) == 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

// A USB adapter otherwise holds received bytes up to its latency timer (16 ms on some) before
// passing them on, which costs a round trip per request. Drivers without the flag (a
// pseudo-terminal) refuse it, and the port works as before.
void SerialPort::RequestLowLatency() {
    serial_struct info{};
    if (::ioctl(fd_, TIOCGSERIAL, &info) == 0 && (info.flags & ASYNC_LOW_LATENCY) == 0) {
        info.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(fd_, TIOCSSERIAL, &info);
    }
}

bool SerialPort::Configure(const LineSettings& settings) {
    if (!ApplyLineSettings(fd_, settings)) {
        return false;
    }
    RequestLowLatency();
    SetLine(fd_, TIOCM_DTR, true);
    const auto mode = static_cast<RtsMode>(GetRtsMode());
    kernelRtsToggle_ = SetKernelRtsToggle(fd_, mode == RtsMode::Toggle) && mode == RtsMode::Toggle;
    if (!kernelRtsToggle_) {
        SetLine(fd_, TIOCM_RTS, mode == RtsMode::Enable);
    }
    ::tcflush(fd_, TCIOFLUSH);
    return true;
}

void SerialPort::Close() {
    if (!IsOpen()) {
        return;
    }
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    kernelRtsToggle_ = false;
}

bool SerialPort::SetTimeouts(const SerialTimeouts& timeouts) {
    timeouts_ = timeouts;
    return IsOpen();
}

bool SerialPort::WriteFrame(std::span<const uint8_t> frame) {
    if (!IsOpen()) {
        return false;
    }
    if (static_cast<RtsMode>(GetRtsMode()) == RtsMode::Toggle && !kernelRtsToggle_) {
        return WriteWithManualRts(frame);
    }
    if (!WriteWithTimeouts(fd_, frame, timeouts_)) {
        ::tcflush(fd_, TCOFLUSH);
        return false;
    }
    return true;
}

bool SerialPort::WriteWithManualRts(std::span<const uint8_t> frame) {
    SetLine(fd_, TIOCM_RTS, true);
    const bool written = WriteWithTimeouts(fd_, frame, timeouts_);
    if (written) {
        ::tcdrain(fd_);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } else {
        ::tcflush(fd_, TCOFLUSH);
    }
    SetLine(fd_, TIOCM_RTS, false);
    return written;
}

int SerialPort::ReadFrame(std::span<uint8_t> buffer) {
    if (!IsOpen()) {
        return -1;
    }
    return ReadWithTimeouts(fd_, buffer, timeouts_);
}

void SerialPort::Purge(PurgeQueue queue) {
    if (IsOpen()) {
        ::tcflush(fd_, queue == PurgeQueue::Receive ? TCIFLUSH : TCOFLUSH);
    }
}

void SerialPort::Drain() {
    if (IsOpen()) {
        ::tcdrain(fd_);
    }
}

} // namespace tolvex
