#pragma once

// Where a record's row is in the laid-out table: data rows follow one another in record order.

#include "kestrix/table/GridModel.h"

#include <cstdint>

namespace kestrix::table {

// The grid row of the record; 0 when the table has no such data row.
int GridRowOfRecord(const GridModel& grid, std::int32_t recordIndex);

} // namespace kestrix::table
