#pragma once

// The kind of every row the data table writes, kept in the grid's per-row user value so that
// writers and printing find header, title, data and statistics rows without parsing texts. A
// row without a kind has the value 0.
//
// Time stamps: column kTimestampColumn of every data row holds the record's time stamp as
// static text, the user locale's short date, a blank and the 24-hour time "HH:mm:ss"
// (TimestampText.h); the Excel writer turns such texts back into date-time cells.

#include <cstdint>

namespace kestrix::table {

enum TableRowKind : std::int32_t {
    kRowHeaderLine = 1,
    kRowColumnTitle = 2, // two title rows per table
    kRowData = 3,
    kRowAverage = 4,
    kRowMaximum = 5,
    kRowMinimum = 6,
    kRowStandardDeviation = 7,
    kRowInstrumentMalfunction = 8,
    kRowLaserStatus = 9,
    kRowFlowStatus = 10,
    kRowInstrumentOverflow = 11,
    kRowThresholdExceeded = 12,
    kRowPirrowMalfunction = 13,
};

inline constexpr int kTimestampColumn = 1;

inline constexpr bool IsStatisticsRowKind(std::int32_t kind) {
    return kind >= kRowAverage && kind <= kRowStandardDeviation;
}

inline constexpr bool IsStatusSummaryRowKind(std::int32_t kind) {
    return kind >= kRowInstrumentMalfunction && kind <= kRowPirrowMalfunction;
}

} // namespace kestrix::table
