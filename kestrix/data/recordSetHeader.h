#pragma once

// Everything of a record-set file but its records: the format mark, the
// instrument, the channels and the location names, read from the parsed
// top-level members, and the record set made ready from them.

#include "kestrix/base/dateTime.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/jsonField.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix::data {

struct RecordSetHeader {
    std::string model;
    std::int32_t serial = 0;
    float flowRate = 1.0F;
    std::string flowRateUnits;
    float particleDensity = 0.0F;
    base::DateTime downloadedOn = 0.0;
    std::string sampleTimeUnits;
    std::vector<std::string> particleTypes;
    std::vector<bool> alarms;
    std::vector<std::int32_t> thresholds;
    std::vector<std::string> analogTypes;
    std::vector<std::string> analogUnits;
    bool hasLocationNames = false;
    std::vector<std::string> locationNames;
};

// The top-level members a reader takes, "records" among them; any other is passed over.
bool IsRecordSetMember(std::string_view key);

// The format mark first, then the rest; refusals name the field.
RecordSetHeader ReadRecordSetHeader(const jsonField::Field& file);

// The set made ready for count records (checked against the limit before), with everything
// but the records.
std::unique_ptr<clsDataRecordSet>
PrepareRecordSet(const jsonField::Field& file, const RecordSetHeader& header, std::size_t count);

} // namespace kestrix::data
