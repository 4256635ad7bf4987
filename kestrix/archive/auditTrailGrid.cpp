#include "kestrix/archive/auditTrailGrid.h"

#include "kestrix/archive/eventListing.h"
#include "kestrix/table/tableCellStyle.h"
#include "kestrix/table/tableHeadings.h"

#include <QTimeZone>
#include <algorithm>

namespace kestrix::archive {

namespace {

using table::Alignment;

std::vector<std::string> HeaderLines(const AuditTrailList& list) {
    return {"Audit Trail", "Archive: " + list.place,
            "Events: " + std::to_string(list.entries.size()) + " of " + std::to_string(list.total) +
                ", " + FilterText(list.filter),
            "Times: local (" + QTimeZone::systemTimeZoneId().toStdString() + ")",
            "Printed: " + LocalTimeText(list.printedAt)};
}

// Each column as wide as its widest cell; the last one takes what the widest line needs more.
void FitColumns(table::GridModel& grid, int headingRow, int lines) {
    int total = 0;
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        const int width = grid.WidestTextWidth(column, headingRow, grid.RowCount()) + 1;
        grid.SetColumnWidth(column, width);
        total += width;
    }
    int widestLine = 0;
    for (int row = 1; row <= lines; ++row) {
        widestLine = std::max(widestLine, grid.ShownTextWidth(1, row));
    }
    const int last = grid.ColumnCount();
    grid.SetColumnWidth(last, grid.ColumnWidth(last) + std::max(0, widestLine - total));
}

} // namespace

void LayOutAuditTrail(const AuditTrailList& list, table::GridModel& grid) {
    const std::vector<std::string> lines = HeaderLines(list);
    const int headingRow = static_cast<int>(lines.size()) + 2;
    grid.SetColumnCount(0);
    grid.SetRowCount(0);
    grid.SetColumnCount(kEventColumnCount);
    grid.SetRowCount(headingRow + static_cast<int>(list.entries.size()));
    table::WriteHeaderLines(grid, lines);
    grid.SetBold(1, 1, true);
    const std::vector<std::string> headings = EventHeadings();
    for (int column = 1; column <= kEventColumnCount; ++column) {
        table::WriteHeading(grid, column, headingRow, headings[column - 1], Alignment::Center);
    }
    grid.SetFrozenRows(headingRow);
    int row = headingRow;
    for (const EventEntry& entry : list.entries) {
        ++row;
        const std::vector<std::string> cells = EventCells(entry);
        for (int column = 1; column <= kEventColumnCount; ++column) {
            grid.SetText(column, row, cells[column - 1]);
            grid.SetBorders(column, row, table::kBorderAll);
            grid.SetAlignment(column, row, Alignment::Left);
        }
    }
    FitColumns(grid, headingRow, static_cast<int>(lines.size()));
}

} // namespace kestrix::archive
