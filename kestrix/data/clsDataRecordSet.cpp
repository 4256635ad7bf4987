#include "kestrix/data/clsDataRecordSet.h"

#include "kestrix/data/DataIndexError.h"
#include "kestrix/data/differentialCount.h"
#include "kestrix/data/roundToInt32.h"

#include <cstdlib>
#include <limits>
#include <new>

namespace kestrix::data {

namespace {

constexpr std::size_t kMaxChannels = std::numeric_limits<std::int16_t>::max();
const std::string kSampleTimeType = "STIM";
const std::string kParticleUnits = "#";
const std::string kDefaultFlowRateUnits = "CFM";

// Upper bound minus lower bound of a 0-based list; no elements counts as 0.
std::size_t ListExtent(const std::vector<std::string>& list) {
    return list.empty() ? 0 : list.size() - 1;
}

void AllocateEntries(clsDataSet& set, std::int32_t recordCount) {
    if (recordCount >= 1 && !set.DataAlloc(recordCount)) {
        throw std::bad_alloc();
    }
}

const clsDataSet* FindChannel(const std::vector<clsDataSet>& sets, std::int16_t channel) {
    if (channel < 0 || static_cast<std::size_t>(channel) >= sets.size()) {
        return nullptr;
    }
    return &sets[static_cast<std::size_t>(channel)];
}

clsDataSet& ChannelForCopy(std::vector<clsDataSet>& sets, std::int16_t channel) {
    if (static_cast<std::size_t>(channel) >= sets.size()) {
        throw DataIndexError("record channel " + std::to_string(channel) + " has no data set; " +
                             std::to_string(sets.size()) + " channels are stored");
    }
    return sets[static_cast<std::size_t>(channel)];
}

// Stores the record's channels at index, last channel first.
template <typename ReadChannel>
void StoreChannels(std::vector<clsDataSet>& sets, std::int16_t channelCount, std::int32_t index,
                   ReadChannel readChannel) {
    if (sets.empty()) {
        return;
    }
    for (auto channel = static_cast<std::int16_t>(channelCount - 1); channel >= 0; --channel) {
        clsDataSet& set = ChannelForCopy(sets, channel);
        const ChannelSample sample = readChannel(channel);
        set.DataValue(index, sample.value);
        set.DataStatus(index, sample.status);
        set.DataEnable(index, sample.enable);
    }
}

template <typename WriteChannel>
void LoadChannels(const std::vector<clsDataSet>& sets, std::int32_t index,
                  WriteChannel writeChannel) {
    for (std::size_t channel = 0; channel < sets.size(); ++channel) {
        const clsDataSet& set = sets[channel];
        writeChannel(static_cast<std::int16_t>(channel), set.DataSample(index));
    }
}

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// "LOC" and the number with at least three digits, the sign before them.
std::string DefaultLocationName(std::int32_t locationId) {
    std::string digits = std::to_string(std::llabs(static_cast<long long>(locationId)));
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), '0');
    }
    return std::string("LOC") + (locationId < 0 ? "-" : "") + digits;
}

} // namespace

clsDataRecordSet::clsDataRecordSet() : downloadTime_(base::CurrentLocalDateTime()) {}

bool clsDataRecordSet::Init(const std::string& sensorName, std::int32_t sensorId, float flowRate,
                            std::string& flowRateUnits, float particleDensity,
                            std::int32_t recordCount, const std::string& sampleTimeUnits,
                            const std::vector<std::string>& particleTypes,
                            const std::vector<std::string>& analogTypes,
                            const std::vector<std::string>& analogUnits,
                            const std::vector<bool>& alarms,
                            const std::vector<std::int32_t>& highThresholds) {
    if (!(flowRate > 0.0F) || recordCount < 0 || sampleTimeUnits.empty()) {
        return false;
    }
    if (ListExtent(analogTypes) != ListExtent(analogUnits)) {
        return false;
    }
    if (particleTypes.size() > kMaxChannels || analogTypes.size() > kMaxChannels) {
        return false;
    }
    Columns columns;
    try {
        columns = BuildColumns(recordCount, sampleTimeUnits, particleTypes, analogTypes,
                               analogUnits, alarms, highThresholds);
    } catch (const std::bad_alloc&) {
        return false;
    }
    sensorName_ = sensorName;
    sensorId_ = sensorId;
    flowRate_ = flowRate;
    if (flowRateUnits.empty()) {
        flowRateUnits = kDefaultFlowRateUnits;
    }
    flowRateUnits_ = flowRateUnits;
    particleDensity_ = particleDensity;
    downloadTime_ = base::CurrentLocalDateTime();
    columns_ = std::move(columns);
    recordIndex_ = recordCount >= 1 ? 0 : -1;
    return true;
}

clsDataRecordSet::Columns clsDataRecordSet::BuildColumns(
    std::int32_t recordCount, const std::string& sampleTimeUnits,
    const std::vector<std::string>& particleTypes, const std::vector<std::string>& analogTypes,
    const std::vector<std::string>& analogUnits, const std::vector<bool>& alarms,
    const std::vector<std::int32_t>& highThresholds) const {
    Columns columns;
    columns.sampleTime.DataType(columns_.sampleTime.DataType());
    columns.sampleTime.DataUnits(columns_.sampleTime.DataUnits());
    if (recordCount >= 1) {
        columns.timeStamps.assign(static_cast<std::size_t>(recordCount), 0.0);
        columns.locationIds.assign(static_cast<std::size_t>(recordCount), 0);
        columns.sampleTime.DataType(kSampleTimeType);
        columns.sampleTime.DataUnits(sampleTimeUnits);
        AllocateEntries(columns.sampleTime, recordCount);
    }
    columns.particles.resize(particleTypes.size());
    for (std::size_t channel = 0; channel < particleTypes.size(); ++channel) {
        clsDataSet& set = columns.particles[channel];
        set.DataType(particleTypes[channel]);
        set.DataUnits(kParticleUnits);
        AllocateEntries(set, recordCount);
        if (channel < highThresholds.size()) {
            set.HighThresholdValue(highThresholds[channel]);
        }
        if (channel < alarms.size()) {
            set.AlarmEnable(alarms[channel]);
        }
    }
    columns.analogs.resize(analogTypes.size());
    for (std::size_t channel = 0; channel < analogTypes.size(); ++channel) {
        columns.analogs[channel].DataType(analogTypes[channel]);
        AllocateEntries(columns.analogs[channel], recordCount);
    }
    for (std::size_t channel = 0; channel < analogUnits.size() && channel < analogTypes.size();
         ++channel) {
        columns.analogs[channel].DataUnits(analogUnits[channel]);
    }
    return columns;
}

void clsDataRecordSet::ClearLocationNames() {
    hasLocationNames_ = false;
    locationNames_ = {};
}

void clsDataRecordSet::SetLocationNames(const std::vector<std::string>& names) {
    ClearLocationNames();
    if (names.empty()) {
        return;
    }
    locationNames_.reserve(names.size());
    for (const std::string& name : names) {
        locationNames_.push_back(TrimBlanks(name));
    }
    hasLocationNames_ = true;
}

const std::string& clsDataRecordSet::GetSensorName() const {
    return sensorName_;
}

std::int32_t clsDataRecordSet::GetSensorID() const {
    return sensorId_;
}

float clsDataRecordSet::GetSensorFlowRate() const {
    return flowRate_;
}

const std::string& clsDataRecordSet::GetSensorFlowRateUnits() const {
    return flowRateUnits_;
}

float clsDataRecordSet::GetParticleDensity() const {
    return particleDensity_;
}

base::DateTime clsDataRecordSet::GetDownloadTime() const {
    return downloadTime_;
}

void clsDataRecordSet::SetDownloadTime(base::DateTime downloadTime) {
    downloadTime_ = downloadTime;
}

const std::string& clsDataRecordSet::GetArchiveHead() const {
    return archiveHead_;
}

void clsDataRecordSet::SetArchiveHead(const std::string& head) {
    archiveHead_ = head;
}

bool clsDataRecordSet::HasLocationNames() const {
    return hasLocationNames_;
}

const std::vector<std::string>& clsDataRecordSet::GetLocationNames() const {
    return locationNames_;
}

std::string clsDataRecordSet::GetLocationName(std::int32_t locationId) const {
    const bool stored = hasLocationNames_ && locationId >= 0 &&
                        static_cast<std::size_t>(locationId) < locationNames_.size();
    if (stored && !locationNames_[static_cast<std::size_t>(locationId)].empty()) {
        return locationNames_[static_cast<std::size_t>(locationId)];
    }
    return DefaultLocationName(locationId);
}

const std::string& clsDataRecordSet::GetSampleTimeUnits() const {
    return columns_.sampleTime.DataUnits();
}

std::int16_t clsDataRecordSet::GetPartChanCount() const {
    return static_cast<std::int16_t>(columns_.particles.size());
}

bool clsDataRecordSet::GetPartChanAlarm(std::int16_t channel) const {
    const clsDataSet* set = FindChannel(columns_.particles, channel);
    return set != nullptr && set->AlarmEnable();
}

std::int32_t clsDataRecordSet::GetPartChanHighThreshold(std::int16_t channel) const {
    const clsDataSet* set = FindChannel(columns_.particles, channel);
    return set != nullptr ? set->HighThresholdValue() : 0;
}

std::string clsDataRecordSet::GetPartChanType(std::int16_t channel) const {
    const clsDataSet* set = FindChannel(columns_.particles, channel);
    return set != nullptr ? set->DataType() : std::string{};
}

std::string clsDataRecordSet::GetPartChanUnits(std::int16_t channel) const {
    const clsDataSet* set = FindChannel(columns_.particles, channel);
    return set != nullptr ? set->DataUnits() : std::string{};
}

std::int16_t clsDataRecordSet::GetAnalogChanCount() const {
    return static_cast<std::int16_t>(columns_.analogs.size());
}

std::string clsDataRecordSet::GetAnalogChanType(std::int16_t channel) const {
    const clsDataSet* set = FindChannel(columns_.analogs, channel);
    return set != nullptr ? set->DataType() : std::string{};
}

std::string clsDataRecordSet::GetAnalogChanUnits(std::int16_t channel) const {
    const clsDataSet* set = FindChannel(columns_.analogs, channel);
    return set != nullptr ? set->DataUnits() : std::string{};
}

std::int32_t clsDataRecordSet::RecordCount() const {
    return static_cast<std::int32_t>(columns_.timeStamps.size());
}

std::int32_t clsDataRecordSet::RecordIndex() const {
    return recordIndex_;
}

void clsDataRecordSet::RecordIndexFirst() {
    recordIndex_ = RecordCount() > 0 ? 0 : -1;
}

void clsDataRecordSet::RecordIndexLast() {
    recordIndex_ = RecordCount() - 1;
}

void clsDataRecordSet::RecordIndexNext() {
    const bool beforeLast = recordIndex_ >= 0 && recordIndex_ < RecordCount() - 1;
    recordIndex_ = beforeLast ? recordIndex_ + 1 : -1;
}

void clsDataRecordSet::RecordIndexPrev() {
    recordIndex_ = RecordCount() > 0 && recordIndex_ >= 1 ? recordIndex_ - 1 : -1;
}

bool clsDataRecordSet::RecordIndexIsValid() const {
    return IsRecordIndex(recordIndex_);
}

clsDataRecord* clsDataRecordSet::Record(std::int32_t index) {
    if (!IsRecordIndex(index)) {
        return nullptr;
    }
    if (!rowRecord_) {
        rowRecord_ = std::make_unique<clsDataRecord>();
    }
    clsDataRecord& row = *rowRecord_;
    const auto position = static_cast<std::size_t>(index);
    row.SetTimeStamp(columns_.timeStamps[position]);
    row.SetLocationID(columns_.locationIds[position]);
    const ChannelSample sampleTime = SampleTimeSample(index);
    row.SetSampleTimeData(static_cast<std::int32_t>(sampleTime.value), sampleTime.status);
    if (row.GetPartChanCount() != GetPartChanCount()) {
        row.SetPartChanCount(GetPartChanCount());
    }
    LoadChannels(columns_.particles, index, [&row](std::int16_t channel, ChannelSample sample) {
        row.SetPartChanData(channel, RoundToInt32(sample.value), sample.status, sample.enable);
    });
    if (row.GetAnalogChanCount() != GetAnalogChanCount()) {
        row.SetAnalogChanCount(GetAnalogChanCount());
    }
    LoadChannels(columns_.analogs, index, [&row](std::int16_t channel, ChannelSample sample) {
        row.SetAnalogChanData(channel, sample.value, sample.status, sample.enable);
    });
    return &row;
}

ChannelSample clsDataRecordSet::PartChanSample(std::int32_t index, std::int16_t channel,
                                               bool cumulative) const {
    const clsDataSet* set = FindChannel(columns_.particles, channel);
    if (set == nullptr || !IsRecordIndex(index)) {
        return {};
    }
    ChannelSample sample = set->DataSample(index);
    std::int32_t count = RoundToInt32(sample.value);
    const auto next = static_cast<std::int16_t>(channel + 1);
    if (const clsDataSet* larger = cumulative ? nullptr : FindChannel(columns_.particles, next)) {
        count = DifferentialCount(count, RoundToInt32(larger->DataValue(index)));
    }
    sample.value = static_cast<double>(count);
    return sample;
}

ChannelSample clsDataRecordSet::AnalogChanSample(std::int32_t index, std::int16_t channel) const {
    const clsDataSet* set = FindChannel(columns_.analogs, channel);
    if (set == nullptr || !IsRecordIndex(index)) {
        return {};
    }
    return set->DataSample(index);
}

ChannelSample clsDataRecordSet::SampleTimeSample(std::int32_t index) const {
    if (!IsRecordIndex(index)) {
        return {};
    }
    ChannelSample sample = columns_.sampleTime.DataSample(index);
    sample.value = static_cast<double>(RoundToInt32(sample.value));
    sample.enable = true;
    return sample;
}

std::int32_t clsDataRecordSet::RecordLocationID(std::int32_t index) const {
    return IsRecordIndex(index) ? columns_.locationIds[static_cast<std::size_t>(index)] : 0;
}

bool clsDataRecordSet::RecordCopy(std::int32_t index, const clsDataRecord* record) {
    if (record == nullptr || !IsRecordIndex(index)) {
        return false;
    }
    const auto position = static_cast<std::size_t>(index);
    columns_.timeStamps[position] = record->GetTimeStamp();
    columns_.locationIds[position] = record->GetLocationID();
    columns_.sampleTime.DataValue(index, record->GetSampleTimeValue());
    columns_.sampleTime.DataStatus(index, record->GetSampleTimeStatus());
    columns_.sampleTime.DataEnable(index, true);
    StoreChannels(
        columns_.particles, record->GetPartChanCount(), index, [record](std::int16_t channel) {
            return ChannelSample{static_cast<double>(record->GetPartChanValue(channel, true)),
                                 record->GetPartChanStatus(channel),
                                 record->GetPartChanEnable(channel)};
        });
    StoreChannels(columns_.analogs, record->GetAnalogChanCount(), index,
                  [record](std::int16_t channel) {
                      return ChannelSample{record->GetAnalogChanValue(channel),
                                           record->GetAnalogChanStatus(channel),
                                           record->GetAnalogChanEnable(channel)};
                  });
    return true;
}

bool clsDataRecordSet::IsRecordIndex(std::int32_t index) const {
    return index >= 0 && index < RecordCount();
}

} // namespace kestrix::data
