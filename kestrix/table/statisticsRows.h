#pragma once

// The rows below the data: average, maximum, minimum and standard deviation as live formulas
// over the data rows, and one summary row per instrument fault seen in any column.

#include "kestrix/table/GridModel.h"
#include "kestrix/table/tableColumns.h"

#include <vector>

namespace kestrix::table {

// The first grid column (from 1) that gets statistics; 0 when no column does.
int FirstStatisticsColumn(const std::vector<TableColumn>& columns);

// Appends the rows. Reads the column statuses from the columns' user values; numericCells
// holds how many data cells of each column hold a number. Without data (no record set) the
// rows keep their labels and their cells stay empty: there is nothing to average.
void WriteStatisticsRows(GridModel& grid, const std::vector<TableColumn>& columns, int firstDataRow,
                         int lastDataRow, bool withData, const std::vector<int>& numericCells);

} // namespace kestrix::table
