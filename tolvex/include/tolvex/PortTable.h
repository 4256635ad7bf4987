#pragma once

#include <string>

namespace tolvex {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 32;

// Process-wide map from port numbers 1..32 to device paths; port n defaults to /dev/ttyS<n-1>.
// Safe to use from any thread.

// Binds a port number to a device path; an empty path restores the default. False for a number
// outside 1..32.
bool SetPortDevice(int port, const std::string& devicePath);

// The device path of a port number, or an empty text for a number outside 1..32.
std::string GetPortDevice(int port);

} // namespace tolvex
