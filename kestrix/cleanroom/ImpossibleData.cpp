#include "kestrix/cleanroom/ImpossibleData.h"

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/modUnits.h"

#include <cmath>
#include <cstdio>

namespace kestrix::cleanroom {

namespace {

bool IsConcentrationUnit(std::int32_t unit) {
    return unit == modUnits::kUnitParticlesPerCubicFoot ||
           unit == modUnits::kUnitParticlesPerCubicMeter ||
           unit == modUnits::kUnitMicrogramsPerCubicMeter;
}

std::string Number(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

bool HasCounts(const data::clsDataRecord& record) {
    for (std::int16_t channel = 0; channel < record.GetPartChanCount(); ++channel) {
        if (record.GetPartChanEnable(channel) && record.GetPartChanValue(channel, true) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

ImpossibleData::ImpossibleData(const data::clsDataRecordSet& recordSet)
    : recordSet_(recordSet), measured_(recordSet), flowRate_(recordSet.GetSensorFlowRate()) {
    for (std::int16_t channel = 0; channel < recordSet.GetAnalogChanCount(); ++channel) {
        if (IsConcentrationUnit(modUnits::GetUnitCode(recordSet.GetAnalogChanUnits(channel)))) {
            concentrationChannels_.push_back(channel);
        }
    }
}

std::optional<DataFault> ImpossibleData::FaultOf(const data::clsDataRecord& record) const {
    if (auto fault = NegativeCount(record)) {
        return fault;
    }
    if (auto fault = NegativeConcentration(record)) {
        return fault;
    }
    if (!(flowRate_ > 0) || !std::isfinite(flowRate_)) {
        return DataFault{FindingKind::ImpossibleFlowRate,
                         "The flow rate " + Number(flowRate_) + " " +
                             recordSet_.GetSensorFlowRateUnits() +
                             " is not a finite number above 0: no volume of air follows from it."};
    }
    if (record.GetSampleTimeValue() == 0 && HasCounts(record)) {
        return DataFault{FindingKind::ZeroSampleTime,
                         "The record has counts but a sample time of 0: no air was sampled."};
    }
    return ImpossibleVolume(record);
}

std::optional<DataFault> ImpossibleData::NegativeCount(const data::clsDataRecord& record) const {
    for (std::int16_t channel = 0; channel < record.GetPartChanCount(); ++channel) {
        const std::int32_t count = record.GetPartChanValue(channel, true);
        if (record.GetPartChanEnable(channel) && count < 0) {
            return DataFault{FindingKind::NegativeCount,
                             "The count at " + recordSet_.GetPartChanType(channel) + " µm is " +
                                 std::to_string(count) + ": a count cannot be negative."};
        }
    }
    return std::nullopt;
}

std::optional<DataFault>
ImpossibleData::NegativeConcentration(const data::clsDataRecord& record) const {
    for (const std::int16_t channel : concentrationChannels_) {
        const double value = record.GetAnalogChanValue(channel);
        if (record.GetAnalogChanEnable(channel) && value < 0) {
            return DataFault{FindingKind::NegativeConcentration,
                             "The " + recordSet_.GetAnalogChanType(channel) + " value is " +
                                 Number(value) + " " + recordSet_.GetAnalogChanUnits(channel) +
                                 ": a concentration cannot be negative."};
        }
    }
    return std::nullopt;
}

std::optional<DataFault> ImpossibleData::ImpossibleVolume(const data::clsDataRecord& record) const {
    const std::optional<double> litres = measured_.Litres(record);
    if (litres && (!(*litres > 0) || !std::isfinite(*litres))) {
        return DataFault{FindingKind::ImpossibleVolume,
                         "The sampled volume is " + Number(*litres) +
                             " L: a sample takes in more than 0 L of air."};
    }
    return std::nullopt;
}

} // namespace kestrix::cleanroom
