#pragma once

// The columns of the data table: which quantities appear, in which order, with which unit
// caption and which conversion from the instrument's unit.

#include "kestrix/table/TableViewOptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::table {

enum class TableColumnKind : std::int32_t {
    Timestamp = 0,
    LocationNumber = 1,
    LocationName = 2,
    ParticleRaw = 3,
    ParticleNorm = 4,
    MassConcentration = 5,
    ParticulateMatter = 6,
    TotalParticulateMatter = 7,
    SampleTime = 8,
    SampleVolume = 9,
    Environmental = 10,
};

struct TableColumn {
    TableColumnKind kind = TableColumnKind::Timestamp;
    std::string dataType;      // empty for a placeholder column
    std::int16_t channel = -1; // -1 when the column has no channel
    std::string unitCaption;   // second title line
    std::int32_t units = modUnits::kUnitNone;
    double factor = 1.0;
    double offset = 0.0;

    bool IsPlaceholder() const { return dataType.empty(); }
    double Convert(double value) const { return value * factor + offset; }
};

// Data from an instrument whose name contains "IAQ" in any letter case.
bool IsIaqData(const data::clsDataRecordSet* recordSet);

// The columns in table order; recordSet may be null (the empty table).
std::vector<TableColumn> BuildColumnList(const data::clsDataRecordSet* recordSet,
                                         const TableViewOptions& options);

// The first title line of a column.
std::string ColumnTitle(const TableColumn& column);

// Columns that are not time stamp or location carry values and get statistics.
bool IsValueColumn(const TableColumn& column);

} // namespace kestrix::table
