#pragma once

// Lays a record set out in the grid model: header lines about the instrument, two title rows
// per column, one row per sample with converted and derived values, status colours and notes,
// then the statistics and status summary rows. Each grid row carries its TableRowKind as row
// user value; each column's user value is the OR of its cells' status bytes.

#include "kestrix/table/GridModel.h"
#include "kestrix/table/TableLayout.h"
#include "kestrix/table/TableViewOptions.h"
#include "kestrix/table/gridGrowth.h"
#include "kestrix/table/tableRowKinds.h"

#include <cstdint>
#include <string>

namespace kestrix::data {
class clsDataRecordSet;
}

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::modDataTable {

// The grid's display settings, once before the first table.
void InitTableGrid(table::GridModel& grid);

// Rebuilds the whole table from the record set (null: the empty table) with the options; My
// Locations names come from the store. Throws calc::ArithmeticError when a value overflows and
// table::GridRefusal (gridGrowth.h) when the table has more columns or rows than the grid
// holds; the grid then keeps the table it had. Moves no record cursor of the set. Returns what
// RefreshTable needs to know of the table. The grid reads the recorded counts and readings
// from the set when they are shown, so the set must outlive the table laid out of it.
table::TableLayout FillTable(table::GridModel& grid, data::clsDataRecordSet* recordSet,
                             const table::TableViewOptions& options,
                             const modConfig::ConfigStore& store);

// The table FillTable gives, reached from the one the layout describes: for the same record
// set only the columns whose cells change are written (the others are moved, with their notes
// and colours), and the rows around the data are laid out again; the changed columns are
// written beside the table first, so the grid never holds a second table. Another set, or a
// grid that no longer matches the layout, is filled anew. Throws as FillTable, the grid and
// the layout then keeping the table they had.
void RefreshTable(table::GridModel& grid, table::TableLayout& layout,
                  data::clsDataRecordSet* recordSet, const table::TableViewOptions& options,
                  const modConfig::ConfigStore& store);

// The empty table.
void ClearTable(table::GridModel& grid, const table::TableViewOptions& options,
                const modConfig::ConfigStore& store);

// Cells of the column in rows first..last that hold a number.
int CountNumericCells(const table::GridModel& grid, int column, int firstRow, int lastRow);

} // namespace kestrix::modDataTable
