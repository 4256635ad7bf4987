#pragma once

// What classification and the data checks read of one record beyond its counts: the air it
// sampled, its status flags and their meaning.

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix::data {
class clsDataRecord;
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::cleanroom {

// The nominal volume of a sample: the instrument's flow rate times the sample time.
class NominalVolume {
public:
    explicit NominalVolume(const data::clsDataRecordSet& recordSet);
    double Litres(const data::clsDataRecord& record) const;
    double SampleSeconds(const data::clsDataRecord& record) const;

private:
    double secondsPerUnit_;
    double secondsOffset_;
    double litresPerSecond_;
};

// The volume the instrument measured, from an analog channel "SVOL", when it reports one.
class MeasuredVolume {
public:
    explicit MeasuredVolume(const data::clsDataRecordSet& recordSet);
    bool Available() const { return channel_.has_value(); }
    // Nothing when unavailable or the channel is off in this record.
    std::optional<double> Litres(const data::clsDataRecord& record) const;

private:
    std::optional<std::int16_t> channel_;
    double litresPerUnit_ = 1.0;
};

// Every status flag of the record: its sample time's and its channels'.
std::uint8_t RecordStatus(const data::clsDataRecord& record);

// Faults that make the counts untrustworthy; an exceeded alarm threshold is not one of them,
// it only says the counts are high.
bool IsBadStatus(std::uint8_t status);

// "bad laser voltage, bad flow rate".
std::string StatusDescription(std::uint8_t status);

} // namespace kestrix::cleanroom
