#pragma once

// What a careful analyst would question in a record set before trusting it: numbers no
// instrument can measure, counts that cannot be, sampled volumes that disagree with the flow rate,
// a blocked inlet, a clock that jumps back, records the instrument flagged. Each finding names its
// record, so a view can show the row.

#include "kestrix/base/dateTime.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::cleanroom {

enum class FindingKind {
    NegativeCount,
    NegativeConcentration,
    ImpossibleFlowRate,
    ZeroSampleTime,
    ImpossibleVolume,
    RisingCounts,
    VolumeMismatch,
    ZeroCounts,
    TimeBackwards,
    TimeRepeated,
    StatusFlags,
};

struct DataFinding {
    std::int32_t recordIndex = 0; // from 0, as the set numbers records
    base::DateTime timeStamp = 0;
    FindingKind kind = FindingKind::StatusFlags;
    std::string message;
};

// A measured volume further than this from flow rate x sample time is questioned.
inline constexpr double kVolumeTolerance = 0.05;
// This many zero counts in a row at the smallest size look like a blocked inlet.
inline constexpr std::int32_t kZeroRunLength = 10;

// Findings in record order; a zero run is reported at its first record. A record with
// impossible data is not questioned further on its counts and volume. Moves no record cursor
// of the set.
std::vector<DataFinding> CheckRecords(data::clsDataRecordSet& recordSet);

// "Rising counts", "Volume", ...: the kind as a list shows it.
std::string FindingKindName(FindingKind kind);
// "rising-counts", ...: the kind in a file.
std::string FindingKindKey(FindingKind kind);

} // namespace kestrix::cleanroom
