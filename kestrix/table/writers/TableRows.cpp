#include "kestrix/table/writers/TableRows.h"

#include "kestrix/table/tableRowKinds.h"

namespace kestrix::table {

int FirstRowOfKind(const GridModel& grid, std::int32_t kind) {
    for (int row = 1; row <= grid.RowCount(); ++row) {
        if (grid.RowUserValue(row) == kind) {
            return row;
        }
    }
    return -1;
}

int LastRowOfKind(const GridModel& grid, std::int32_t kind) {
    for (int row = grid.RowCount(); row >= 1; --row) {
        if (grid.RowUserValue(row) == kind) {
            return row;
        }
    }
    return -1;
}

bool IsHeadingRow(const GridModel& grid, int row) {
    const std::int32_t kind = grid.RowUserValue(row);
    return kind == kRowHeaderLine || kind == kRowColumnTitle;
}

int LeadingHeadingRows(const GridModel& grid) {
    int rows = 0;
    while (rows < grid.RowCount() && IsHeadingRow(grid, rows + 1)) {
        ++rows;
    }
    return rows;
}

} // namespace kestrix::table
