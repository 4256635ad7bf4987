#pragma once

// The table's summary row of each instrument fault, in the order of the record status's
// conditions.

#include "kestrix/data/recordStatus.h"
#include "kestrix/table/tableRowKinds.h"

#include <array>

namespace kestrix::table {

inline constexpr std::array<TableRowKind, recordStatus::kStatusConditions.size()> kStatusRowKinds{
    kRowInstrumentMalfunction, kRowLaserStatus,       kRowFlowStatus,
    kRowInstrumentOverflow,    kRowPirrowMalfunction, kRowThresholdExceeded,
};

} // namespace kestrix::table
