#pragma once

// Finding the table's rows by the kinds the table module stores in the row user values.

#include "kestrix/table/GridModel.h"

#include <cstdint>

namespace kestrix::table {

// The first and the last row of a kind, -1 when the grid has none.
int FirstRowOfKind(const GridModel& grid, std::int32_t kind);
int LastRowOfKind(const GridModel& grid, std::int32_t kind);

// Header lines and column titles: rows whose cells are headings rather than data.
bool IsHeadingRow(const GridModel& grid, int row);

// The number of heading rows at the top of the grid, one after the other from row 1.
int LeadingHeadingRows(const GridModel& grid);

} // namespace kestrix::table
