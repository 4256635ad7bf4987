#include "kestrix/table/gridGrowth.h"

#include <string>

namespace kestrix::table {

namespace {

[[noreturn]] void RefuseRows() {
    throw GridRefusal("the table has more rows than the grid holds (" +
                      std::to_string(GridModel::kMaxRows) + ")");
}

} // namespace

void SetTableColumnCount(GridModel& grid, int count) {
    if (!grid.SetColumnCount(count)) {
        throw GridRefusal("the table has " + std::to_string(count) +
                          " columns, more than the grid holds (" +
                          std::to_string(GridModel::kMaxColumns) + ")");
    }
}

int AddTableRow(GridModel& grid) {
    return AddTableRows(grid, 1);
}

int AddTableRows(GridModel& grid, int count) {
    const int first = grid.RowCount() + 1;
    if (count > GridModel::kMaxRows - grid.RowCount() || !grid.SetRowCount(first - 1 + count)) {
        RefuseRows();
    }
    return first;
}

void InsertTableRowAbove(GridModel& grid, int row) {
    if (!grid.InsertRowAbove(row)) {
        RefuseRows();
    }
}

} // namespace kestrix::table
