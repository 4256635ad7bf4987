#include "FastTransfer.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace kestrix::sim {
namespace {

constexpr uint32_t kMax24Bit = 0xFFFFFF;
constexpr size_t kDigits = 4;

std::optional<uint16_t> FourDigits(std::string_view text) {
    if (text.size() != kDigits ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return std::nullopt;
    }
    uint16_t value = 0;
    for (char c : text) {
        value = static_cast<uint16_t>(value * 10 + (c - '0'));
    }
    return value;
}

void PutBigEndian(std::span<uint8_t> out, uint32_t value) {
    for (size_t i = 0; i < out.size(); ++i) {
        out[out.size() - 1 - i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// The inverse of the master's straight line through the two calibration points.
int16_t RawReading(float value, const Calibration& point) {
    const double span = double{point.engineeringHigh} - point.engineeringLow;
    if (point.rawHigh <= point.rawLow || span == 0.0) {
        return 0;
    }
    const double raw =
        point.rawLow + (value - point.engineeringLow) * (point.rawHigh - point.rawLow) / span;
    return static_cast<int16_t>(std::clamp(std::lround(raw), long{INT16_MIN}, long{INT16_MAX}));
}

} // namespace

std::optional<FastCommand> ParseFastCommand(std::string_view text) {
    constexpr std::string_view kOpen = "<gr";
    if (text.size() != kOpen.size() + 2 * kDigits + 2 || !text.starts_with(kOpen) ||
        text[kOpen.size() + kDigits] != ',' || text.back() != '>') {
        return std::nullopt;
    }
    const auto first = FourDigits(text.substr(kOpen.size(), kDigits));
    const auto count = FourDigits(text.substr(kOpen.size() + kDigits + 1, kDigits));
    if (!first || !count) {
        return std::nullopt;
    }
    return FastCommand{*first, *count};
}

void EncodeFastRecord(const SampleRecord& record,
                      const std::array<Calibration, kCalibrationPoints>& calibration,
                      std::span<uint8_t, kFastRecordSize> out) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    const auto locationField =
        std::clamp<int64_t>(int64_t{record.location} - 1, INT16_MIN, INT16_MAX);
    PutBigEndian(out.subspan(0, 2), static_cast<uint16_t>(locationField));
    PutBigEndian(out.subspan(2, 4), static_cast<uint32_t>(record.timeStamp));
    PutBigEndian(out.subspan(6, 3), std::min(record.sampleTime, kMax24Bit));
    out[9] = record.status;
    out[10] = static_cast<uint8_t>(record.particleEnable & 0xFF);
    out[11] = static_cast<uint8_t>(record.analogEnable & 0xFF);
    for (int k = 0; k < kFastParticleChannels; ++k) {
        PutBigEndian(out.subspan(12 + 3 * k, 3), std::min(record.counts[k], kMax24Bit));
    }
    for (int k = 0; k < kFastAnalogChannels; ++k) {
        const auto raw = static_cast<uint16_t>(RawReading(record.analog[k], calibration[k]));
        PutBigEndian(out.subspan(40 + 2 * k, 2), raw);
    }
}

std::vector<uint8_t>
BuildFastChunk(std::span<const SampleRecord> records, const FastCommand& command,
               const std::array<Calibration, kCalibrationPoints>& calibration) {
    const size_t first = std::min<size_t>(command.first, records.size());
    const size_t count = std::min<size_t>(command.count, records.size() - first);
    std::vector<uint8_t> chunk(count * kFastRecordSize + 1, 0);
    uint8_t checksum = 0;
    for (size_t h = 0; h < count; ++h) {
        const auto out = std::span(chunk).subspan(h * kFastRecordSize).first<kFastRecordSize>();
        EncodeFastRecord(records[first + h], calibration, out);
        for (uint8_t byte : out) {
            checksum = static_cast<uint8_t>(checksum + byte);
        }
    }
    chunk.back() = checksum;
    return chunk;
}

} // namespace kestrix::sim
