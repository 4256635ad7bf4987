#include "kestrix/table/statisticsRows.h"

#include "kestrix/calc/unitConversion.h"
#include "kestrix/data/modDataType.h"
#include "kestrix/table/gridGrowth.h"
#include "kestrix/table/modDataTable.h"
#include "kestrix/table/statusRows.h"
#include "kestrix/table/tableCellStyle.h"
#include "kestrix/table/tableRowKinds.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace kestrix::table {
namespace {

struct StatisticsRows {
    int average = 0;
    int maximum = 0;
    int minimum = 0;
    int deviation = 0;
};

// Summary rows by their position in recordStatus::kStatusConditions; 0 while the row does not
// exist.
using StatusRows = std::array<int, recordStatus::kStatusConditions.size()>;

int AddLabelRow(GridModel& grid, std::string_view label, TableRowKind kind,
                int firstStatisticsColumn) {
    const int row = AddTableRow(grid);
    WriteHeading(grid, 1, row, label, Alignment::Left);
    grid.SetSpan(1, row, firstStatisticsColumn - 1);
    grid.SetRowUserValue(row, kind);
    return row;
}

StatisticsRows AddStatisticsRows(GridModel& grid, int firstStatisticsColumn) {
    StatisticsRows rows;
    rows.average = AddLabelRow(grid, "Average", kRowAverage, firstStatisticsColumn);
    rows.maximum = AddLabelRow(grid, "Maximum", kRowMaximum, firstStatisticsColumn);
    rows.minimum = AddLabelRow(grid, "Minimum", kRowMinimum, firstStatisticsColumn);
    rows.deviation =
        AddLabelRow(grid, "Standard Deviation", kRowStandardDeviation, firstStatisticsColumn);
    return rows;
}

std::uint8_t ColumnStatus(const GridModel& grid, int column) {
    return static_cast<std::uint8_t>(grid.ColumnUserValue(column));
}

// The fault rows in the order their faults are first met scanning the columns from the right.
StatusRows AddStatusRows(GridModel& grid, int firstStatisticsColumn) {
    StatusRows rows{};
    for (int column = grid.ColumnCount(); column >= firstStatisticsColumn; --column) {
        const std::uint8_t status = ColumnStatus(grid, column);
        for (std::size_t i = 0; i < recordStatus::kStatusConditions.size(); ++i) {
            const recordStatus::StatusCondition& condition = recordStatus::kStatusConditions[i];
            if ((status & condition.bit) != 0 && rows[i] == 0) {
                rows[i] = AddLabelRow(grid, condition.rowLabel, kStatusRowKinds[i],
                                      firstStatisticsColumn);
            }
        }
    }
    return rows;
}

std::string RangeText(int firstDataRow, int lastDataRow) {
    return "#" + std::to_string(firstDataRow) + ":#" + std::to_string(lastDataRow);
}

std::string DeviationFormula(const std::string& range, int averageRow, int numericCells) {
    if (numericCells == 1) {
        return "0";
    }
    return "SQRT(ABS((SUMSQ(" + range + ") - (#" + std::to_string(averageRow) + " * SUM(" + range +
           ")))/" + std::to_string(numericCells - 1) + "))";
}

class StatisticsColumnWriter {
public:
    StatisticsColumnWriter(GridModel& grid, const StatisticsRows& rows, std::string range)
        : grid_(grid), rows_(rows), range_(std::move(range)) {}

    void Write(int column, const TableColumn& description, int numericCells) {
        const std::uint8_t status = ColumnStatus(grid_, column);
        const int decimals = modUnits::GetDecimalPlaces(description.dataType, description.units);
        const int atLeastOne = std::max(1, decimals);
        WriteFormula(column, rows_.average, "AVERAGE(" + range_ + ")", atLeastOne, status);
        WriteFormula(column, rows_.maximum, "MAX(" + range_ + ")", decimals, status);
        WriteFormula(column, rows_.minimum, "MIN(" + range_ + ")", decimals, status);
        WriteFormula(column, rows_.deviation, DeviationFormula(range_, rows_.average, numericCells),
                     atLeastOne, status);
    }

private:
    void WriteFormula(int column, int row, const std::string& formula, int decimals,
                      std::uint8_t status) {
        grid_.SetFormula(column, row, formula, decimals);
        SetStatusLook(grid_, column, row, ToGridColor(recordStatus::GetStatusColor(status)),
                      recordStatus::GetStatusText(status));
    }

    GridModel& grid_;
    const StatisticsRows& rows_;
    std::string range_;
};

std::string_view SummaryText(const recordStatus::StatusCondition& condition,
                             const TableColumn& column, bool seen) {
    if (!recordStatus::StatusAppliesToType(column.dataType, condition.bit)) {
        return "NA";
    }
    return seen ? condition.seenText : condition.clearText;
}

void WriteStatusSummaryCells(GridModel& grid, const StatusRows& rows, int column,
                             const TableColumn& description, int numericCells) {
    const std::uint8_t status = ColumnStatus(grid, column);
    for (std::size_t i = 0; i < recordStatus::kStatusConditions.size(); ++i) {
        if (rows[i] == 0) {
            continue;
        }
        const recordStatus::StatusCondition& condition = recordStatus::kStatusConditions[i];
        const auto seen = static_cast<std::uint8_t>(status & condition.bit);
        if (numericCells > 0) {
            grid.SetText(column, rows[i], SummaryText(condition, description, seen != 0));
        }
        SetStatusLook(grid, column, rows[i], ToGridColor(recordStatus::GetStatusColor(seen)),
                      recordStatus::GetStatusText(seen));
    }
}

} // namespace

int FirstStatisticsColumn(const std::vector<TableColumn>& columns) {
    const auto first = std::find_if(columns.begin(), columns.end(), IsValueColumn);
    return first == columns.end() ? 0 : static_cast<int>(first - columns.begin()) + 1;
}

void WriteStatisticsRows(GridModel& grid, const std::vector<TableColumn>& columns, int firstDataRow,
                         int lastDataRow, bool withData, const std::vector<int>& numericCells) {
    const int firstColumn = FirstStatisticsColumn(columns);
    if (firstColumn == 0) {
        return;
    }
    const StatisticsRows rows = AddStatisticsRows(grid, firstColumn);
    if (!withData) {
        return;
    }
    const StatusRows statusRows = AddStatusRows(grid, firstColumn);
    StatisticsColumnWriter statistics(grid, rows, RangeText(firstDataRow, lastDataRow));
    for (int column = firstColumn; column <= static_cast<int>(columns.size()); ++column) {
        const auto index = static_cast<std::size_t>(column - 1);
        statistics.Write(column, columns[index], numericCells[index]);
        WriteStatusSummaryCells(grid, statusRows, column, columns[index], numericCells[index]);
    }
}

} // namespace kestrix::table

namespace kestrix::modDataTable {

int CountNumericCells(const table::GridModel& grid, int column, int firstRow, int lastRow) {
    int count = 0;
    for (int row = std::max(firstRow, 1); row <= std::min(lastRow, grid.RowCount()); ++row) {
        count += grid.HoldsNumber(column, row) ? 1 : 0;
    }
    return count;
}

} // namespace kestrix::modDataTable
