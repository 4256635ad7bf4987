#include "support/SampleGrid.h"

#include "kestrix/base/dateTime.h"
#include "kestrix/table/TimestampText.h"
#include "kestrix/table/tableRowKinds.h"

#include <algorithm>
#include <string>

namespace kestrix::bench {
namespace {

using table::GridModel;

constexpr table::Rgb kMagenta = table::Rgb::FromHex(0xFF00FF);
constexpr int kMinutesPerDay = 1440;

int DecimalsOf(int column) {
    return column % 3;
}

int AddRowOfKind(GridModel& grid, std::int32_t kind) {
    const int row = grid.AddRow();
    grid.SetRowUserValue(row, kind);
    return row;
}

void AddTitles(GridModel& grid) {
    for (int line = 0; line < kSampleGridTitleRows; ++line) {
        const int row = AddRowOfKind(grid, table::kRowColumnTitle);
        for (int column = 1; column <= kSampleGridColumns; ++column) {
            grid.SetText(column, row, "Title " + std::to_string(column));
            grid.SetBackColor(column, row, grid.HeaderColor());
        }
    }
}

void AddRecords(GridModel& grid) {
    table::TimestampText timestamps;
    const base::DateTime start = base::MakeDateTime(2024, 3, 9);
    for (int record = 0; record < kFullMemoryRecords; ++record) {
        const int row = AddRowOfKind(grid, table::kRowData);
        grid.SetText(table::kTimestampColumn, row,
                     timestamps.Format(start + static_cast<double>(record) / kMinutesPerDay));
        grid.SetNumber(2, row, record % 50, 0);
        grid.SetText(3, row, "Clean room " + std::to_string(record % 50));
        const bool troubled = record % 97 == 0;
        for (int column = kSampleGridFirstNumberColumn; column <= kSampleGridColumns; ++column) {
            grid.SetNumber(column, row, (record % 1000) * 1.37 + column, DecimalsOf(column));
            if (troubled) {
                grid.SetTextColor(column, row, kMagenta);
                grid.SetNote(column, row, "- Bad laser voltage.");
                grid.SetFlagged(column, row, true);
            }
        }
    }
}

int AddLabelRow(GridModel& grid, const char* label, std::int32_t kind) {
    const int row = AddRowOfKind(grid, kind);
    grid.SetText(1, row, label);
    grid.SetSpan(1, row, kSampleGridFirstNumberColumn - 1);
    return row;
}

void AddFormulas(GridModel& grid, int row, const std::string& formula, int leastDecimals) {
    for (int column = kSampleGridFirstNumberColumn; column <= kSampleGridColumns; ++column) {
        grid.SetFormula(column, row, formula, std::max(leastDecimals, DecimalsOf(column)));
    }
}

// The same formulas as the data table's, the deviation included.
void AddStatistics(GridModel& grid, int first, int last) {
    // A std::string first: GCC 12 warns falsely (-Wrestrict) on a literal plus a temporary.
    const std::string range =
        std::string("#") + std::to_string(first) + ":#" + std::to_string(last);
    const int average = AddLabelRow(grid, "Average", table::kRowAverage);
    AddFormulas(grid, average, "AVERAGE(" + range + ")", 1);
    AddFormulas(grid, AddLabelRow(grid, "Maximum", table::kRowMaximum), "MAX(" + range + ")", 0);
    AddFormulas(grid, AddLabelRow(grid, "Minimum", table::kRowMinimum), "MIN(" + range + ")", 0);
    const std::string deviation = "SQRT(ABS((SUMSQ(" + range + ") - (#" + std::to_string(average) +
                                  " * SUM(" + range + ")))/" + std::to_string(last - first) + "))";
    AddFormulas(grid, AddLabelRow(grid, "Standard Deviation", table::kRowStandardDeviation),
                deviation, 1);
}

} // namespace

GridModel BuildSampleGrid() {
    GridModel grid;
    grid.SetColumnCount(kSampleGridColumns);
    grid.ReserveRows(kSampleGridTitleRows + kFullMemoryRecords + kSampleGridStatisticsRows);
    AddTitles(grid);
    AddRecords(grid);
    AddStatistics(grid, kSampleGridTitleRows + 1, kSampleGridTitleRows + kFullMemoryRecords);
    return grid;
}

} // namespace kestrix::bench
