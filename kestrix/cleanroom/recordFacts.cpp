#include "kestrix/cleanroom/recordFacts.h"

#include "kestrix/calc/unitConversion.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/modUnits.h"
#include "kestrix/data/recordStatus.h"

#include <cctype>

namespace kestrix::cleanroom {

namespace {

constexpr std::uint8_t kBadStatusBits =
    recordStatus::kStatusLaserVoltageBad | recordStatus::kStatusFlowRateBad |
    recordStatus::kStatusDataOverflow | recordStatus::kStatusMalfunction |
    recordStatus::kStatusPirrowMalfunction;

constexpr const char* kMeasuredVolumeTag = "SVOL";

double LitresPer(std::int32_t unit) {
    return modUnits::GetConversionFactor(unit, modUnits::kUnitLiters);
}

// "- Bad laser voltage." becomes "bad laser voltage".
std::string Phrase(std::string_view noteLine) {
    std::string phrase(noteLine.substr(2, noteLine.size() - 3));
    phrase.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(phrase.front())));
    return phrase;
}

} // namespace

NominalVolume::NominalVolume(const data::clsDataRecordSet& recordSet) {
    const std::int32_t timeUnit = modUnits::GetUnitCode(recordSet.GetSampleTimeUnits());
    secondsPerUnit_ = modUnits::GetConversionFactor(timeUnit, modUnits::kUnitSeconds);
    secondsOffset_ = modUnits::GetConversionOffset(timeUnit, modUnits::kUnitSeconds);
    const std::int32_t flowUnit = modUnits::GetUnitCode(recordSet.GetSensorFlowRateUnits());
    const double litresPerMinute = modUnits::ConvertUnits(recordSet.GetSensorFlowRate(), flowUnit,
                                                          modUnits::kUnitLitersPerMinute);
    litresPerSecond_ = litresPerMinute / 60.0;
}

double NominalVolume::SampleSeconds(const data::clsDataRecord& record) const {
    return record.GetSampleTimeValue() * secondsPerUnit_ + secondsOffset_;
}

double NominalVolume::Litres(const data::clsDataRecord& record) const {
    return SampleSeconds(record) * litresPerSecond_;
}

MeasuredVolume::MeasuredVolume(const data::clsDataRecordSet& recordSet) {
    for (std::int16_t channel = 0; channel < recordSet.GetAnalogChanCount(); ++channel) {
        if (recordSet.GetAnalogChanType(channel) == kMeasuredVolumeTag) {
            channel_ = channel;
            litresPerUnit_ =
                LitresPer(modUnits::GetUnitCode(recordSet.GetAnalogChanUnits(channel)));
            return;
        }
    }
}

std::optional<double> MeasuredVolume::Litres(const data::clsDataRecord& record) const {
    if (!channel_ || !record.GetAnalogChanEnable(*channel_)) {
        return std::nullopt;
    }
    return record.GetAnalogChanValue(*channel_) * litresPerUnit_;
}

std::uint8_t RecordStatus(const data::clsDataRecord& record) {
    std::uint8_t status = record.GetSampleTimeStatus();
    for (std::int16_t channel = 0; channel < record.GetPartChanCount(); ++channel) {
        status |= record.GetPartChanStatus(channel);
    }
    for (std::int16_t channel = 0; channel < record.GetAnalogChanCount(); ++channel) {
        status |= record.GetAnalogChanStatus(channel);
    }
    return status;
}

bool IsBadStatus(std::uint8_t status) {
    return (status & kBadStatusBits) != 0;
}

std::string StatusDescription(std::uint8_t status) {
    std::string text;
    for (const recordStatus::StatusCondition& condition : recordStatus::kStatusConditions) {
        if ((status & condition.bit) != 0) {
            text += (text.empty() ? "" : ", ") + Phrase(condition.noteLine);
        }
    }
    return text;
}

} // namespace kestrix::cleanroom
