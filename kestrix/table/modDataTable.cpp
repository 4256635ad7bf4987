#include "kestrix/table/modDataTable.h"

#include "kestrix/table/dataRows.h"
#include "kestrix/table/gridGrowth.h"
#include "kestrix/table/statisticsRows.h"
#include "kestrix/table/tableColumns.h"
#include "kestrix/table/tableHeadings.h"

#include <algorithm>
#include <utility>

namespace kestrix::modDataTable {
namespace {

using table::GridModel;

// Widens every column that is narrower than its widest text.
void FitColumnWidths(GridModel& grid) {
    for (int column = grid.ColumnCount(); column >= 1; --column) {
        const int widest = grid.WidestTextWidth(column);
        if (grid.ColumnWidth(column) < widest) {
            grid.SetColumnWidth(column, widest + 1);
        }
    }
}

// The header lines live in column 1 and span the table; a line wider than the whole table
// widens column 1 by the difference.
void FitHeaderLines(GridModel& grid) {
    double total = 0.0;
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        total += grid.ColumnWidth(column);
    }
    const int widest = grid.WidestTextWidth(1);
    if (widest > total) {
        grid.SetColumnWidth(1, grid.ColumnWidth(1) + (widest - total));
    }
}

// A new, empty grid with the display settings of the given one.
GridModel EmptyGridLike(const GridModel& grid) {
    GridModel fresh;
    fresh.SetHeaderColor(grid.HeaderColor());
    fresh.SetFrozenColumns(grid.FrozenColumns());
    fresh.SetRedraw(false);
    return fresh;
}

void BuildTable(GridModel& grid, data::clsDataRecordSet* recordSet,
                const table::TableViewOptions& options, const modConfig::ConfigStore& store) {
    const std::vector<table::TableColumn> columns = table::BuildColumnList(recordSet, options);
    table::SetTableColumnCount(grid, static_cast<int>(columns.size()));
    table::WriteTitleRows(grid, columns);
    grid.SetTitleColumns(std::max(0, table::FirstStatisticsColumn(columns) - 1));
    const int firstDataRow = grid.RowCount() + 1;
    table::DataRowWriter(grid, columns, recordSet, options, store).WriteRows();
    const int lastDataRow = grid.RowCount();
    table::WriteStatisticsRows(grid, columns, firstDataRow, lastDataRow, recordSet != nullptr);
    FitColumnWidths(grid);
    table::InsertHeaderLines(grid, table::HeaderLines(recordSet, options));
    FitHeaderLines(grid);
}

} // namespace

void InitTableGrid(GridModel& grid) {
    grid.SetHeaderColor(GridModel::kDefaultHeaderColor);
    grid.SetFrozenColumns(0);
}

void FillTable(GridModel& grid, data::clsDataRecordSet* recordSet,
               const table::TableViewOptions& options, const modConfig::ConfigStore& store) {
    // Built aside and moved in whole, so that an overflow leaves the shown table as it was.
    GridModel table = EmptyGridLike(grid);
    BuildTable(table, recordSet, options, store);
    grid.ReplaceWith(std::move(table));
}

void ClearTable(GridModel& grid, const table::TableViewOptions& options,
                const modConfig::ConfigStore& store) {
    FillTable(grid, nullptr, options, store);
}

} // namespace kestrix::modDataTable
