#include "kestrix/data/clsDataSet.h"

#include "kestrix/data/DataIndexError.h"

#include <new>

namespace kestrix::data {

bool clsDataSet::AlarmEnable() const {
    return alarmEnable_;
}

void clsDataSet::AlarmEnable(bool enable) {
    alarmEnable_ = enable;
}

std::int32_t clsDataSet::HighThresholdValue() const {
    return highThresholdValue_;
}

void clsDataSet::HighThresholdValue(std::int32_t value) {
    highThresholdValue_ = value;
}

const std::string& clsDataSet::DataType() const {
    return dataType_;
}

void clsDataSet::DataType(const std::string& tag) {
    dataType_ = tag;
}

const std::string& clsDataSet::DataUnits() const {
    return dataUnits_;
}

void clsDataSet::DataUnits(const std::string& units) {
    dataUnits_ = units;
}

bool clsDataSet::HasData() const {
    return !values_.empty();
}

double clsDataSet::DataValue(std::int32_t index) const {
    return values_[CheckedIndex(index)];
}

std::uint8_t clsDataSet::DataStatus(std::int32_t index) const {
    return statuses_[CheckedIndex(index)];
}

bool clsDataSet::DataEnable(std::int32_t index) const {
    return enables_[CheckedIndex(index)] != 0;
}

ChannelSample clsDataSet::DataSample(std::int32_t index) const {
    const std::size_t entry = CheckedIndex(index);
    return {values_[entry], statuses_[entry], enables_[entry] != 0};
}

void clsDataSet::DataValue(std::int32_t index, double value) {
    values_[CheckedIndex(index)] = value;
}

void clsDataSet::DataStatus(std::int32_t index, std::uint8_t status) {
    statuses_[CheckedIndex(index)] = status;
}

void clsDataSet::DataEnable(std::int32_t index, bool enable) {
    enables_[CheckedIndex(index)] = enable ? 1 : 0;
}

std::int32_t clsDataSet::DataCount() const {
    return static_cast<std::int32_t>(values_.size());
}

bool clsDataSet::DataAlloc(std::int32_t size) {
    if (size < 1) {
        return false;
    }
    try {
        const auto entries = static_cast<std::size_t>(size);
        std::vector<double> values(entries);
        std::vector<std::uint8_t> statuses(entries);
        std::vector<std::uint8_t> enables(entries);
        values_.swap(values);
        statuses_.swap(statuses);
        enables_.swap(enables);
    } catch (const std::bad_alloc&) {
        DataFlush();
        return false;
    }
    return true;
}

void clsDataSet::DataFlush() {
    values_ = {};
    statuses_ = {};
    enables_ = {};
}

std::size_t clsDataSet::CheckedIndex(std::int32_t index) const {
    if (index < 0 || index >= DataCount()) {
        throw DataIndexError("data index " + std::to_string(index) + " outside 0.." +
                             std::to_string(DataCount() - 1) + " of data set '" + dataType_ + "'");
    }
    return static_cast<std::size_t>(index);
}

} // namespace kestrix::data
