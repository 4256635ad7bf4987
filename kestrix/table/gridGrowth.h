#pragma once

// The table's changes to the grid's size. The grid refuses more columns or rows than it holds;
// the table then cannot be laid out, and these raise GridRefusal instead of leaving a table
// with cells missing.

#include "kestrix/table/GridModel.h"

#include <stdexcept>

namespace kestrix::table {

class GridRefusal : public std::length_error {
public:
    using std::length_error::length_error;
};

void SetTableColumnCount(GridModel& grid, int count);
// The new row's number.
int AddTableRow(GridModel& grid);
// Appends count empty rows at once; the first one's number.
int AddTableRows(GridModel& grid, int count);
void InsertTableRowAbove(GridModel& grid, int row);

} // namespace kestrix::table
