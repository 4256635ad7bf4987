#pragma once

// The rows above the data: the header lines about the instrument and the data, then the two
// title rows of the columns. They are written into rows that exist.

#include "kestrix/table/GridModel.h"
#include "kestrix/table/TableViewOptions.h"
#include "kestrix/table/tableColumns.h"

#include <string>
#include <vector>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::table {

// The quantity row at `row` and the unit caption row below it; every row down to these is
// frozen.
void WriteTitleRows(GridModel& grid, const std::vector<TableColumn>& columns, int row);

// The texts of the header lines, in order; recordSet may be null.
std::vector<std::string> HeaderLines(data::clsDataRecordSet* recordSet,
                                     const TableViewOptions& options);

// The lines in rows 1 down, each spanning every column.
void WriteHeaderLines(GridModel& grid, const std::vector<std::string>& lines);

} // namespace kestrix::table
