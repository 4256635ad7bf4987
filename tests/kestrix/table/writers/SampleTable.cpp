#include "SampleTable.h"

#include "kestrix/table/tableRowKinds.h"

#include <QDateTime>

namespace kestrix::table::testing {

namespace {

constexpr int kColumns = 3;

int AddRowOfKind(GridModel& grid, std::int32_t kind) {
    const int row = grid.AddRow();
    grid.SetRowUserValue(row, kind);
    return row;
}

void AddTitles(GridModel& grid) {
    const char* titles[2][kColumns] = {{"Date and Time", "0.3 micron", "Temperature"},
                                       {"", "(Counts)", "(C)"}};
    for (const auto& line : titles) {
        const int row = AddRowOfKind(grid, kRowColumnTitle);
        for (int column = 1; column <= kColumns; ++column) {
            grid.SetText(column, row, line[column - 1]);
            grid.SetBackColor(column, row, grid.HeaderColor());
        }
    }
}

void AddStatistics(SampleTable& table) {
    GridModel& grid = table.grid;
    const std::string range =
        "#" + std::to_string(table.firstDataRow) + ":#" + std::to_string(table.lastDataRow);
    table.averageRow = AddRowOfKind(grid, kRowAverage);
    const int maximum = AddRowOfKind(grid, kRowMaximum);
    table.stdevRow = AddRowOfKind(grid, kRowStandardDeviation);
    const int n = static_cast<int>(table.counts.size());
    const std::string deviation = "SQRT(ABS((SUMSQ(" + range + ") - (#" +
                                  std::to_string(table.averageRow) + " * SUM(" + range + ")))/" +
                                  std::to_string(n - 1) + "))";
    grid.SetText(1, table.averageRow, "Average");
    grid.SetText(1, maximum, "Maximum");
    grid.SetText(1, table.stdevRow, "Standard Deviation");
    for (int column = 2; column <= kColumns; ++column) {
        grid.SetFormula(column, table.averageRow, "AVERAGE(" + range + ")", 1);
        grid.SetFormula(column, maximum, "MAX(" + range + ")", column - 2);
        grid.SetFormula(column, table.stdevRow, deviation, 1);
    }
}

} // namespace

std::string TimestampTextFor(const QLocale& locale, int year, int month, int day, int hour,
                             int minute, int second) {
    const QDateTime stamp(QDate(year, month, day), QTime(hour, minute, second));
    return locale.toString(stamp, locale.dateFormat(QLocale::ShortFormat) + " HH:mm:ss")
        .toStdString();
}

SampleTable MakeSampleTable(const QLocale& locale, const std::vector<double>& counts) {
    SampleTable table;
    table.counts = counts;
    GridModel& grid = table.grid;
    grid.SetColumnCount(kColumns);
    AddTitles(grid);
    table.firstDataRow = grid.RowCount() + 1;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const int row = AddRowOfKind(grid, kRowData);
        grid.SetText(1, row, TimestampTextFor(locale, 2024, 3, 9, 14, 5, static_cast<int>(i)));
        grid.SetNumber(2, row, counts[i], 0);
        grid.SetNumber(3, row, 21.25 + static_cast<double>(i), 1);
    }
    table.lastDataRow = grid.RowCount();
    grid.SetNote(2, table.firstDataRow, kNoteText);
    grid.SetFlagged(2, table.firstDataRow, true);
    grid.SetTextColor(2, table.firstDataRow, kNoteColor);
    AddStatistics(table);
    grid.InsertRowAbove(1);
    grid.SetRowUserValue(1, kRowHeaderLine);
    grid.SetText(1, 1, kHeaderText);
    grid.SetSpan(1, 1, kColumns);
    grid.SetBackColor(1, 1, grid.HeaderColor());
    grid.SetFrozenRows(3);
    ++table.firstDataRow;
    ++table.lastDataRow;
    ++table.averageRow;
    ++table.stdevRow;
    for (int column = 1; column <= kColumns; ++column) {
        grid.SetColumnWidth(column, 14);
    }
    return table;
}

} // namespace kestrix::table::testing
