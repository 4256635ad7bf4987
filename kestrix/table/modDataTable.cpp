#include "kestrix/table/modDataTable.h"

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/recordStatus.h"
#include "kestrix/table/dataRows.h"
#include "kestrix/table/gridGrowth.h"
#include "kestrix/table/statisticsRows.h"
#include "kestrix/table/tableColumns.h"
#include "kestrix/table/tableHeadings.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestrix::modDataTable {
namespace {

using table::GridModel;
using table::TableColumn;
using table::TableLayout;

// The rows below the data at the most: the statistics and one summary row per fault.
constexpr int kRowsBelowData = 4 + static_cast<int>(recordStatus::kStatusConditions.size());

// Widens every column that is narrower than its widest text; the header lines span the table
// and are fitted after.
void FitColumnWidths(GridModel& grid, const TableLayout& layout) {
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        const int widest =
            std::max({layout.dataWidths[static_cast<std::size_t>(column - 1)],
                      grid.WidestTextWidth(column, layout.TitleRow(), layout.TitleRow() + 1),
                      grid.WidestTextWidth(column, layout.LastDataRow() + 1, grid.RowCount())});
        grid.SetColumnWidth(column, table::GridColumn::kDefaultWidth);
        if (grid.ColumnWidth(column) < widest) {
            grid.SetColumnWidth(column, widest + 1);
        }
    }
}

// The header lines live in column 1 and span the table; a line wider than the whole table
// widens column 1 by the difference.
void FitHeaderLines(GridModel& grid, int headerLines) {
    double total = 0.0;
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        total += grid.ColumnWidth(column);
    }
    const int widest = grid.WidestTextWidth(1, 1, headerLines);
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

struct WrittenColumns {
    std::vector<int> numericCells;
    std::vector<int> widths;
};

// The writer of the target columns' data cells; the columns that show a recorded quantity read
// it from the set from now on, so the rows added after hold no copy of it.
std::optional<table::DataRowWriter> DataWriter(GridModel& grid,
                                               const std::vector<table::ColumnTarget>& targets,
                                               data::clsDataRecordSet* recordSet,
                                               const TableLayout& layout,
                                               const modConfig::ConfigStore& store) {
    std::optional<table::DataRowWriter> writer;
    if (recordSet && recordSet->RecordCount() > 0) {
        writer.emplace(grid, targets, layout.FirstDataRow(), *recordSet, layout.options, store);
    }
    return writer;
}

// The data cells of the target columns, with what the layout keeps of them.
WrittenColumns WriteDataColumns(GridModel& grid, const std::vector<table::ColumnTarget>& targets,
                                std::optional<table::DataRowWriter>& writer,
                                const TableLayout& layout) {
    WrittenColumns written{std::vector<int>(targets.size(), 0), {}};
    if (writer) {
        writer->WriteRows();
        written.numericCells = writer->NumericCells();
    }
    for (const table::ColumnTarget& target : targets) {
        written.widths.push_back(
            grid.WidestTextWidth(target.gridColumn, layout.FirstDataRow(), layout.LastDataRow()));
    }
    return written;
}

// Everything around the data rows, which stand.
void WriteAroundData(GridModel& grid, const TableLayout& layout,
                     const std::vector<std::string>& lines, bool withData) {
    table::WriteHeaderLines(grid, lines);
    table::WriteTitleRows(grid, layout.columns, layout.TitleRow());
    grid.SetTitleColumns(std::max(0, table::FirstStatisticsColumn(layout.columns) - 1));
    table::WriteStatisticsRows(grid, layout.columns, layout.FirstDataRow(), layout.LastDataRow(),
                               withData, layout.numericCells);
    FitColumnWidths(grid, layout);
    FitHeaderLines(grid, layout.headerLines);
}

TableLayout NewLayout(data::clsDataRecordSet* recordSet, const table::TableViewOptions& options,
                      std::vector<TableColumn> columns, std::size_t headerLines) {
    TableLayout layout;
    layout.recordSet = recordSet;
    layout.records = recordSet ? recordSet->RecordCount() : 0;
    layout.columns = std::move(columns);
    layout.options = options;
    layout.headerLines = static_cast<int>(headerLines);
    layout.dataRows = std::max(1, layout.records);
    return layout;
}

// The header lines come first and the grid is sized once, so no row is moved afterwards.
TableLayout BuildTable(GridModel& grid, data::clsDataRecordSet* recordSet,
                       const table::TableViewOptions& options,
                       const modConfig::ConfigStore& store) {
    const std::vector<std::string> lines = table::HeaderLines(recordSet, options);
    TableLayout layout =
        NewLayout(recordSet, options, table::BuildColumnList(recordSet, options), lines.size());
    table::SetTableColumnCount(grid, static_cast<int>(layout.columns.size()));
    std::vector<table::ColumnTarget> targets;
    for (std::size_t i = 0; i < layout.columns.size(); ++i) {
        targets.push_back({&layout.columns[i], static_cast<int>(i) + 1});
    }
    std::optional<table::DataRowWriter> writer =
        DataWriter(grid, targets, recordSet, layout, store);
    grid.ReserveRows(layout.LastDataRow() + kRowsBelowData);
    table::AddTableRows(grid, layout.LastDataRow());
    for (int row = layout.FirstDataRow(); row <= layout.LastDataRow(); ++row) {
        grid.SetRowUserValue(row, table::kRowData);
    }
    WrittenColumns written = WriteDataColumns(grid, targets, writer, layout);
    layout.numericCells = std::move(written.numericCells);
    layout.dataWidths = std::move(written.widths);
    WriteAroundData(grid, layout, lines, recordSet != nullptr);
    return layout;
}

bool ShowsLayout(const GridModel& grid, const TableLayout& layout,
                 const data::clsDataRecordSet* recordSet) {
    return recordSet && layout.recordSet == recordSet &&
           layout.records == recordSet->RecordCount() &&
           grid.ColumnCount() == static_cast<int>(layout.columns.size()) &&
           grid.RowCount() >= layout.LastDataRow() &&
           grid.RowUserValue(layout.FirstDataRow()) == table::kRowData;
}

// Of each new column, the old grid column with the same data cells, 0 where there is none.
std::vector<int> KeptColumns(const TableLayout& layout, const std::vector<TableColumn>& columns,
                             const table::TableViewOptions& options) {
    std::vector<int> sources(columns.size(), 0);
    std::vector<bool> taken(layout.columns.size(), false);
    for (std::size_t j = 0; j < columns.size(); ++j) {
        for (std::size_t i = 0; i < layout.columns.size(); ++i) {
            if (!taken[i] &&
                table::SameDataCells(layout.columns[i], layout.options, columns[j], options)) {
                taken[i] = true;
                sources[j] = static_cast<int>(i) + 1;
                break;
            }
        }
    }
    return sources;
}

} // namespace

void InitTableGrid(GridModel& grid) {
    grid.SetHeaderColor(GridModel::kDefaultHeaderColor);
    grid.SetFrozenColumns(0);
}

TableLayout FillTable(GridModel& grid, data::clsDataRecordSet* recordSet,
                      const table::TableViewOptions& options, const modConfig::ConfigStore& store) {
    // Built aside and moved in whole, so that an overflow leaves the shown table as it was.
    GridModel table = EmptyGridLike(grid);
    TableLayout layout = BuildTable(table, recordSet, options, store);
    grid.ReplaceWith(std::move(table));
    return layout;
}

void RefreshTable(GridModel& grid, TableLayout& layout, data::clsDataRecordSet* recordSet,
                  const table::TableViewOptions& options, const modConfig::ConfigStore& store) {
    std::vector<TableColumn> columns = table::BuildColumnList(recordSet, options);
    const std::vector<std::string> lines = table::HeaderLines(recordSet, options);
    std::vector<int> sources = KeptColumns(layout, columns, options);
    const auto changed = static_cast<int>(std::count(sources.begin(), sources.end(), 0));
    const int width = grid.ColumnCount();
    const bool fits = width + changed <= GridModel::kMaxColumns &&
                      static_cast<int>(lines.size()) + 2 + layout.dataRows + kRowsBelowData <=
                          GridModel::kMaxRows;
    if (!ShowsLayout(grid, layout, recordSet) || !fits) {
        layout = FillTable(grid, recordSet, options, store);
        return;
    }
    TableLayout next = NewLayout(recordSet, options, std::move(columns), lines.size());
    next.headerLines = layout.headerLines; // the data rows stay where they are until moved
    std::vector<table::ColumnTarget> targets;
    for (std::size_t j = 0; j < sources.size(); ++j) {
        if (sources[j] == 0) {
            targets.push_back({&next.columns[j], width + static_cast<int>(targets.size()) + 1});
        }
    }
    // Written beside the table first, so that an overflow leaves the table as it was.
    grid.SetColumnCount(width + changed);
    WrittenColumns written;
    try {
        std::optional<table::DataRowWriter> writer =
            DataWriter(grid, targets, recordSet, next, store);
        written = WriteDataColumns(grid, targets, writer, next);
    } catch (...) {
        grid.SetColumnCount(width);
        throw;
    }
    for (std::size_t j = 0, k = 0; j < sources.size(); ++j) {
        if (sources[j] != 0) {
            const auto old = static_cast<std::size_t>(sources[j] - 1);
            next.numericCells.push_back(layout.numericCells[old]);
            next.dataWidths.push_back(layout.dataWidths[old]);
        } else {
            sources[j] = targets[k].gridColumn;
            next.numericCells.push_back(written.numericCells[k]);
            next.dataWidths.push_back(written.widths[k]);
            ++k;
        }
    }
    grid.SetRowCount(layout.LastDataRow());
    grid.RemoveRows(1, layout.headerLines + 2);
    grid.ArrangeColumns(sources);
    next.headerLines = static_cast<int>(lines.size());
    grid.InsertRowsAbove(1, next.headerLines + 2);
    layout = std::move(next);
    WriteAroundData(grid, layout, lines, true);
    grid.NoteChanged();
}

void ClearTable(GridModel& grid, const table::TableViewOptions& options,
                const modConfig::ConfigStore& store) {
    FillTable(grid, nullptr, options, store);
}

} // namespace kestrix::modDataTable
