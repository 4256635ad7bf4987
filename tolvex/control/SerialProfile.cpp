#include "SerialProfile.h"

#include <array>

namespace tolvex {
namespace {

struct RateProfile {
    uint32_t bitsPerSecond;
    uint32_t rtuInterval;
    uint32_t msPerByte;
};

constexpr std::array<RateProfile, kBaudIndexCount> kProfiles{{
    {300, 512, 32},
    {600, 256, 16},
    {1200, 128, 8},
    {2400, 64, 4},
    {4800, 32, 2},
    {9600, 240, 1},
    {14400, 180, 1},
    {19200, 120, 1},
    {38400, 120, 1},
    {56000, 64, 1},
    {57600, 64, 1},
    {115200, 64, 1},
}};

constexpr uint32_t kAsciiInterval = 1000;
constexpr uint32_t kWriteConstant = 200;
constexpr short kAsciiMode = 1;

bool IsBaudIndex(short index) {
    return index >= 0 && index < kBaudIndexCount;
}

} // namespace

uint32_t BaudRateOf(short baudIndex) {
    return IsBaudIndex(baudIndex) ? kProfiles[baudIndex].bitsPerSecond : 0;
}

SerialTimeouts TimeoutsFor(short baudIndex, short protocolMode, short timeoutMs) {
    const RateProfile& profile = kProfiles[IsBaudIndex(baudIndex) ? baudIndex : 0];
    SerialTimeouts timeouts;
    timeouts.readInterval = protocolMode == kAsciiMode ? kAsciiInterval : profile.rtuInterval;
    timeouts.readMultiplier = profile.msPerByte;
    timeouts.readConstant = static_cast<uint32_t>(timeoutMs > 0 ? timeoutMs : 0);
    timeouts.writeMultiplier = profile.msPerByte;
    timeouts.writeConstant = kWriteConstant;
    return timeouts;
}

} // namespace tolvex
