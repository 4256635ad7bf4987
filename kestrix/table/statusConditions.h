#pragma once

// The instrument faults a record status byte reports, in the order the table names them: the
// note line of a faulty cell, and the label and answers of the fault's summary row.

#include "kestrix/data/modDataType.h"
#include "kestrix/table/tableRowKinds.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrix::table {

struct StatusCondition {
    std::uint8_t bit;
    std::string_view noteLine;
    std::string_view rowLabel;
    TableRowKind rowKind;
    std::string_view seenText; // summary cell when the column saw the fault
    std::string_view clearText;
};

inline constexpr std::array<StatusCondition, 6> kStatusConditions{{
    {modDataType::kStatusMalfunction, "- Instrument malfunctioned.", "Instrument Malfunction",
     kRowInstrumentMalfunction, "Yes", "No"},
    {modDataType::kStatusLaserVoltageBad, "- Bad laser voltage.", "Laser Status", kRowLaserStatus,
     "Bad", "Good"},
    {modDataType::kStatusFlowRateBad, "- Bad flow rate.", "Flow Status", kRowFlowStatus, "Bad",
     "Good"},
    {modDataType::kStatusDataOverflow, "- Instrument data overflowed.", "Instrument Overflow",
     kRowInstrumentOverflow, "Yes", "No"},
    {modDataType::kStatusPirrowMalfunction, "- Pirrow device malfunctioned.",
     "Pirrow Device Malfunction", kRowPirrowMalfunction, "Yes", "No"},
    {modDataType::kStatusThresholdExceeded, "- Data exceeded instrument's threshold.",
     "Threshold Exceeded", kRowThresholdExceeded, "Yes", "No"},
}};

} // namespace kestrix::table
