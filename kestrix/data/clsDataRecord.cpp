#include "kestrix/data/clsDataRecord.h"

#include "kestrix/data/differentialCount.h"

namespace kestrix::data {

void clsDataRecord::SetTimeStamp(base::DateTime timeStamp) {
    timeStamp_ = timeStamp;
}

base::DateTime clsDataRecord::GetTimeStamp() const {
    return timeStamp_;
}

void clsDataRecord::SetLocationID(std::int32_t locationId) {
    locationId_ = locationId;
}

std::int32_t clsDataRecord::GetLocationID() const {
    return locationId_;
}

bool clsDataRecord::SetSampleTimeData(std::int32_t value, std::uint8_t status) {
    if (value < 0) {
        return false;
    }
    sampleTimeValue_ = value;
    sampleTimeStatus_ = status;
    return true;
}

std::int32_t clsDataRecord::GetSampleTimeValue() const {
    return sampleTimeValue_;
}

std::uint8_t clsDataRecord::GetSampleTimeStatus() const {
    return sampleTimeStatus_;
}

void clsDataRecord::SetPartChanCount(std::int16_t count) {
    particles_.SetCount(count);
}

std::int16_t clsDataRecord::GetPartChanCount() const {
    return particles_.Count();
}

bool clsDataRecord::SetPartChanData(std::int16_t channel, std::int32_t value, std::uint8_t status,
                                    bool enable) {
    return particles_.Set(channel, value, status, enable);
}

std::int32_t clsDataRecord::GetPartChanValue(std::int16_t channel, bool cumulative) const {
    const std::int32_t count = particles_.GetValue(channel);
    const bool hasLargerNeighbour = channel >= 0 && channel < particles_.Count() - 1;
    if (cumulative || !hasLargerNeighbour) {
        return count;
    }
    return DifferentialCount(count, particles_.GetValue(static_cast<std::int16_t>(channel + 1)));
}

std::uint8_t clsDataRecord::GetPartChanStatus(std::int16_t channel) const {
    return particles_.GetStatus(channel);
}

bool clsDataRecord::GetPartChanEnable(std::int16_t channel) const {
    return particles_.GetEnable(channel);
}

void clsDataRecord::SetAnalogChanCount(std::int16_t count) {
    analogs_.SetCount(count);
}

std::int16_t clsDataRecord::GetAnalogChanCount() const {
    return analogs_.Count();
}

bool clsDataRecord::SetAnalogChanData(std::int16_t channel, double value, std::uint8_t status,
                                      bool enable) {
    return analogs_.Set(channel, value, status, enable);
}

double clsDataRecord::GetAnalogChanValue(std::int16_t channel) const {
    return analogs_.GetValue(channel);
}

std::uint8_t clsDataRecord::GetAnalogChanStatus(std::int16_t channel) const {
    return analogs_.GetStatus(channel);
}

bool clsDataRecord::GetAnalogChanEnable(std::int16_t channel) const {
    return analogs_.GetEnable(channel);
}

} // namespace kestrix::data
