#pragma once

// The instrument's registers that the sessions request or write, and the commands it takes.
// Offsets inside the identity block are decoded in InstrumentIdentity.

#include <cstdint>

namespace kestrix::registers {

// Holding registers.
inline constexpr int kIdentityBlock = 0; // also the register the address probe reads
inline constexpr int kCommand = 1;
inline constexpr int kRecordPointer = 24;
inline constexpr int kDensity = 43;
inline constexpr int kThresholds = 5000;
inline constexpr int kCalibrationLow = 7040;
inline constexpr int kCalibrationHigh = 8040;
inline constexpr int kCalibrationRaw = 9040;

// Input registers: the record the pointer chose.
inline constexpr int kRecord = 0;

// Channel description blocks: input registers below map version 138, holding registers from it.
struct ChannelBlocks {
    int enables;
    int tags;
    int units;
};
inline constexpr ChannelBlocks kInputChannelBlocks{1000, 2000, 3000};
inline constexpr ChannelBlocks kHoldingChannelBlocks{3000, 1000, 2000};

// Values written to the command register.
inline constexpr std::int16_t kIdleCommand = 12;
inline constexpr std::int16_t kFastTransferCommand = 16;

} // namespace kestrix::registers
