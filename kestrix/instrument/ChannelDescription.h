#pragma once

// The description of the instrument's 36 data channels and its analog calibration, as read from
// the channel, threshold and calibration blocks. Channel 0 is the time stamp, 1 the sample time,
// 2 the location, 3 the status, 4-19 the particle channels and 20-35 the analog channels.

#include <array>
#include <cstdint>
#include <string>

namespace kestrix::instrument {

class RegisterReply;

inline constexpr int kChannelCount = 36;
inline constexpr int kChannelBlockRegisters = 72;
inline constexpr int kFirstParticleChannel = 4;
inline constexpr int kFirstAnalogChannel = 20;
inline constexpr int kChannelsPerKind = 16;
inline constexpr int kSampleTimeChannel = 1;
inline constexpr int kCalibrationFloats = 16;
inline constexpr int kCalibrationPoints = 4;

struct ChannelDescription {
    std::array<bool, kChannelCount> enabled{};
    std::array<bool, kChannelCount> alarm{};
    std::array<std::string, kChannelCount> tag;
    std::array<std::string, kChannelCount> unit;
    std::array<std::int32_t, kChannelCount> threshold{};
    std::array<double, kCalibrationFloats> engineeringLow{};
    std::array<double, kCalibrationFloats> engineeringHigh{};
    std::array<double, kCalibrationPoints> rawLow{};
    std::array<double, kCalibrationPoints> rawHigh{};

    // The alarm bit counts from map version 138.
    void TakeEnables(const RegisterReply& reply, int mapVersion);
    // Blank-trimmed; particle sizes rewritten as "####0.0####" (0.30 gives 0.3, 5 gives 5.0).
    void TakeTags(const RegisterReply& reply);
    void TakeUnits(const RegisterReply& reply);
    void TakeThresholds(const RegisterReply& reply);
    void TakeEngineeringHigh(const RegisterReply& reply);
    void TakeEngineeringLow(const RegisterReply& reply);
    void TakeRawPoints(const RegisterReply& reply);

    bool IsParticleStored(int channel) const;
    bool IsAnalogStored(int channel) const;
};

} // namespace kestrix::instrument
