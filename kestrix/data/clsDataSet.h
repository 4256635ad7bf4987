#pragma once

// One column of a record set: the value, status and enable flag of one
// quantity over all samples, with the quantity's data type tag, unit text,
// alarm flag and alarm threshold. The indexed accessors throw DataIndexError
// for an index outside 0..DataCount()-1.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::data {

// One quantity of one record.
struct ChannelSample {
    double value = 0.0;
    std::uint8_t status = 0;
    bool enable = false;
};

class clsDataSet {
public:
    bool AlarmEnable() const;
    void AlarmEnable(bool enable);
    std::int32_t HighThresholdValue() const;
    void HighThresholdValue(std::int32_t value);
    const std::string& DataType() const;
    void DataType(const std::string& tag);
    const std::string& DataUnits() const;
    void DataUnits(const std::string& units);
    bool HasData() const;
    double DataValue(std::int32_t index) const;
    std::uint8_t DataStatus(std::int32_t index) const;
    bool DataEnable(std::int32_t index) const;
    // Value, status and enable flag of one entry at once.
    ChannelSample DataSample(std::int32_t index) const;
    void DataValue(std::int32_t index, double value);
    void DataStatus(std::int32_t index, std::uint8_t status);
    void DataEnable(std::int32_t index, bool enable);
    std::int32_t DataCount() const;
    // Replaces any data with size cleared entries; a size below 1 is refused
    // and keeps the data. Failing to allocate leaves the set without data.
    bool DataAlloc(std::int32_t size);
    void DataFlush();

private:
    std::size_t CheckedIndex(std::int32_t index) const;

    std::string dataType_;
    std::string dataUnits_;
    std::int32_t highThresholdValue_ = 0;
    bool alarmEnable_ = false;
    std::vector<double> values_;
    std::vector<std::uint8_t> statuses_;
    std::vector<std::uint8_t> enables_;
};

} // namespace kestrix::data
