#pragma once

#include "Scenario.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kestrix::sim {

constexpr size_t kFastRecordSize = 48;
// Particle channels that fit before the analog fields of a fast record.
constexpr int kFastParticleChannels = 9;
constexpr int kFastAnalogChannels = 4;

// A request "<grNNNN,MMMM>": records first .. first + count - 1.
struct FastCommand {
    uint16_t first = 0;
    uint16_t count = 0;
};

// The text between "<" and ">" inclusive; nullopt unless it is exactly a well-formed request.
std::optional<FastCommand> ParseFastCommand(std::string_view text);

// One record in the 48-byte layout; analog readings become raw values through the calibration.
void EncodeFastRecord(const SampleRecord& record,
                      const std::array<Calibration, kCalibrationPoints>& calibration,
                      std::span<uint8_t, kFastRecordSize> out);

// The records of a request that exist, followed by the 8-bit sum of their bytes.
std::vector<uint8_t> BuildFastChunk(std::span<const SampleRecord> records,
                                    const FastCommand& command,
                                    const std::array<Calibration, kCalibrationPoints>& calibration);

} // namespace kestrix::sim
