#pragma once

// Numbers no instrument can measure: a negative count or concentration, a flow rate that is not
// a positive number, a measured volume that is not, counts in no sample time. A record holding
// one is a transfer or instrument fault, never air to classify.

#include "kestrix/cleanroom/dataChecks.h"
#include "kestrix/cleanroom/recordFacts.h"

#include <optional>
#include <vector>

namespace kestrix::cleanroom {

struct DataFault {
    FindingKind kind = FindingKind::NegativeCount;
    std::string message;
};

class ImpossibleData {
public:
    explicit ImpossibleData(const data::clsDataRecordSet& recordSet);
    // The first fault of the record; nothing when its numbers can be.
    std::optional<DataFault> FaultOf(const data::clsDataRecord& record) const;

private:
    std::optional<DataFault> NegativeCount(const data::clsDataRecord& record) const;
    std::optional<DataFault> NegativeConcentration(const data::clsDataRecord& record) const;
    std::optional<DataFault> ImpossibleVolume(const data::clsDataRecord& record) const;

    const data::clsDataRecordSet& recordSet_;
    MeasuredVolume measured_;
    double flowRate_;
    std::vector<std::int16_t> concentrationChannels_;
};

} // namespace kestrix::cleanroom
