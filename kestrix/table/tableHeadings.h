#pragma once

// The rows above the data: the two title rows of the columns, and the header lines about the
// instrument and the data that are inserted above them once the rest of the table stands.

#include "kestrix/table/GridModel.h"
#include "kestrix/table/TableViewOptions.h"
#include "kestrix/table/tableColumns.h"

#include <string>
#include <vector>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::table {

// Adds the quantity row and the unit caption row and freezes them.
void WriteTitleRows(GridModel& grid, const std::vector<TableColumn>& columns);

// The texts of the header lines, in order; recordSet may be null.
std::vector<std::string> HeaderLines(data::clsDataRecordSet* recordSet,
                                     const TableViewOptions& options);

// Inserts the lines from row 1 down, each spanning every column, and freezes them too.
void InsertHeaderLines(GridModel& grid, const std::vector<std::string>& lines);

} // namespace kestrix::table
