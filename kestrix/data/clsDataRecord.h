#pragma once

// One sample as the instrument reports it: time stamp, location, sample time
// and a value, status and enable flag per particle and per analog channel.
// Particle values are cumulative counts (particles at or above the channel's
// size), channel 0 being the smallest size.

#include "kestrix/base/dateTime.h"
#include "kestrix/data/ChannelArray.h"

#include <cstdint>

namespace kestrix::data {

class clsDataRecord {
public:
    void SetTimeStamp(base::DateTime timeStamp);
    base::DateTime GetTimeStamp() const;
    void SetLocationID(std::int32_t locationId);
    std::int32_t GetLocationID() const;
    // A negative value is refused and leaves the sample time unchanged.
    bool SetSampleTimeData(std::int32_t value, std::uint8_t status);
    std::int32_t GetSampleTimeValue() const;
    std::uint8_t GetSampleTimeStatus() const;

    void SetPartChanCount(std::int16_t count);
    std::int16_t GetPartChanCount() const;
    bool SetPartChanData(std::int16_t channel, std::int32_t value, std::uint8_t status,
                         bool enable);
    // Differential: this channel's count minus the next larger size's count,
    // saturated to the 32-bit range; the last channel keeps its own count.
    std::int32_t GetPartChanValue(std::int16_t channel, bool cumulative) const;
    std::uint8_t GetPartChanStatus(std::int16_t channel) const;
    bool GetPartChanEnable(std::int16_t channel) const;

    void SetAnalogChanCount(std::int16_t count);
    std::int16_t GetAnalogChanCount() const;
    bool SetAnalogChanData(std::int16_t channel, double value, std::uint8_t status, bool enable);
    double GetAnalogChanValue(std::int16_t channel) const;
    std::uint8_t GetAnalogChanStatus(std::int16_t channel) const;
    bool GetAnalogChanEnable(std::int16_t channel) const;

private:
    base::DateTime timeStamp_ = 0.0;
    std::int32_t locationId_ = -1;
    std::int32_t sampleTimeValue_ = 0;
    std::uint8_t sampleTimeStatus_ = 0;
    ChannelArray<std::int32_t> particles_;
    ChannelArray<double> analogs_;
};

} // namespace kestrix::data
