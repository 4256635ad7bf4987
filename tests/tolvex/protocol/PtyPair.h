#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <termios.h>
#include <vector>

namespace tolvex::test {

// A raw pseudo-terminal pair. The library opens the device path; the test plays the other side
// of the line through the controller descriptor.
class PtyPair {
public:
    PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;
    ~PtyPair();

    const std::string& DevicePath() const { return devicePath_; }

    void Write(std::span<const uint8_t> bytes);
    void Write(const std::string& text);
    // Reads exactly count bytes, or fewer when the line stays quiet for quietPeriod.
    std::vector<uint8_t> Read(size_t count, std::chrono::milliseconds quietPeriod);
    // The line settings as the device currently has them.
    termios LineSettings() const;
    // Hangs up the line: the library's side sees the device vanish.
    void CloseController();

private:
    int controller_ = -1;
    int device_ = -1;
    std::string devicePath_;
};

} // namespace tolvex::test
