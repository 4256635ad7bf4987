#pragma once

// One complete download: the instrument's identity and settings, the
// description of every particle and analog channel, the instrument's location
// names and every sample, stored column-wise (one array per quantity, no
// object per record). A row is handed out as a clsDataRecord on request.

#include "kestrix/base/dateTime.h"
#include "kestrix/data/clsDataRecord.h"
#include "kestrix/data/clsDataSet.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrix::data {

class clsDataRecordSet {
public:
    clsDataRecordSet();

    // Prepares the set for recordCount records. Refused (false, nothing
    // changed) for a flow rate <= 0, a negative record count, empty sample
    // time units, analog type and unit lists of different extent, more
    // channels than a record can number, or when the storage cannot be
    // allocated. Empty flow rate units become "CFM", also in the argument.
    // The alarms and thresholds describe the particle channels; a missing
    // entry leaves that channel's alarm off and threshold 0.
    bool Init(const std::string& sensorName, std::int32_t sensorId, float flowRate,
              std::string& flowRateUnits, float particleDensity, std::int32_t recordCount,
              const std::string& sampleTimeUnits, const std::vector<std::string>& particleTypes,
              const std::vector<std::string>& analogTypes,
              const std::vector<std::string>& analogUnits, const std::vector<bool>& alarms,
              const std::vector<std::int32_t>& highThresholds);
    void ClearLocationNames();
    // Names trimmed of surrounding blanks; an empty list leaves no names.
    void SetLocationNames(const std::vector<std::string>& names);
    const std::string& GetSensorName() const;
    std::int32_t GetSensorID() const;
    float GetSensorFlowRate() const;
    const std::string& GetSensorFlowRateUnits() const;
    float GetParticleDensity() const;
    base::DateTime GetDownloadTime() const;
    // For a set rebuilt from a file: the time of the original download.
    void SetDownloadTime(base::DateTime downloadTime);
    // The download archive's chain head, "event N sha256:HEX", that the set was read from the
    // archive or archived at; every file written of the set carries it. Empty for a set that
    // did not pass through the archive: a file's own claim is never taken over.
    const std::string& GetArchiveHead() const;
    void SetArchiveHead(const std::string& head);
    bool HasLocationNames() const;
    // The stored names, trimmed, index = location number; empty without names.
    const std::vector<std::string>& GetLocationNames() const;
    // The instrument's name, or "LOC" and the number in at least three digits.
    std::string GetLocationName(std::int32_t locationId) const;
    const std::string& GetSampleTimeUnits() const;
    std::int16_t GetPartChanCount() const;
    bool GetPartChanAlarm(std::int16_t channel) const;
    std::int32_t GetPartChanHighThreshold(std::int16_t channel) const;
    std::string GetPartChanType(std::int16_t channel) const;
    std::string GetPartChanUnits(std::int16_t channel) const;
    std::int16_t GetAnalogChanCount() const;
    std::string GetAnalogChanType(std::int16_t channel) const;
    std::string GetAnalogChanUnits(std::int16_t channel) const;
    std::int32_t RecordCount() const;
    std::int32_t RecordIndex() const;
    void RecordIndexFirst();
    void RecordIndexLast();
    void RecordIndexNext();
    void RecordIndexPrev();
    bool RecordIndexIsValid() const;
    // The one row record of this set, refilled with row index on every call;
    // nullptr when index is not a record.
    clsDataRecord* Record(std::int32_t index);
    // Stores the record at index. Throws DataIndexError when the record has
    // more channels of a kind than the set; the time stamp, location and
    // sample time of index are stored by then.
    bool RecordCopy(std::int32_t index, const clsDataRecord* record);
    // One quantity of record index as Record(index) hands it out, without refilling the row
    // record, for reading a quantity across many records. Outside the records and channels:
    // 0, disabled.
    ChannelSample PartChanSample(std::int32_t index, std::int16_t channel, bool cumulative) const;
    ChannelSample AnalogChanSample(std::int32_t index, std::int16_t channel) const;
    ChannelSample SampleTimeSample(std::int32_t index) const;
    std::int32_t RecordLocationID(std::int32_t index) const;

private:
    struct Columns {
        std::vector<base::DateTime> timeStamps;
        std::vector<std::int32_t> locationIds;
        clsDataSet sampleTime;
        std::vector<clsDataSet> particles;
        std::vector<clsDataSet> analogs;
    };

    Columns BuildColumns(std::int32_t recordCount, const std::string& sampleTimeUnits,
                         const std::vector<std::string>& particleTypes,
                         const std::vector<std::string>& analogTypes,
                         const std::vector<std::string>& analogUnits,
                         const std::vector<bool>& alarms,
                         const std::vector<std::int32_t>& highThresholds) const;
    bool IsRecordIndex(std::int32_t index) const;

    std::string sensorName_;
    std::int32_t sensorId_ = 0;
    float flowRate_ = 1.0F;
    std::string flowRateUnits_ = "CFM";
    float particleDensity_ = 0.0F;
    base::DateTime downloadTime_ = 0.0;
    std::string archiveHead_;
    std::int32_t recordIndex_ = -1;
    Columns columns_;
    bool hasLocationNames_ = false;
    std::vector<std::string> locationNames_;
    std::unique_ptr<clsDataRecord> rowRecord_;
};

} // namespace kestrix::data
