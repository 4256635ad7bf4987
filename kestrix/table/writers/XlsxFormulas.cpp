#include "kestrix/table/writers/XlsxFormulas.h"

#include "kestrix/table/Formula.h"
#include "kestrix/table/FormulaReferences.h"
#include "kestrix/table/tableRowKinds.h"
#include "kestrix/table/writers/TableRows.h"

#include <algorithm>

namespace kestrix::table {

namespace {

constexpr int kLettersInAlphabet = 26;

// One column of the grid as the formula engine reads it.
class GridColumnLookup final : public CellLookup {
public:
    GridColumnLookup(const GridModel& grid, int column) : grid_(grid), column_(column) {}

    int RowCount() const override { return grid_.RowCount(); }

    CellValue ValueAt(int row) const override {
        switch (grid_.Kind(column_, row)) {
        case CellKind::Empty:
            return {};
        case CellKind::Text:
            return {CellValue::Kind::Text};
        case CellKind::Number:
        case CellKind::Formula:
            break;
        }
        const FormulaValue value = grid_.Value(column_, row);
        if (value.IsError()) {
            return {CellValue::Kind::Error, 0.0, value.error};
        }
        return {CellValue::Kind::Number, value.number};
    }

private:
    const GridModel& grid_;
    int column_;
};

} // namespace

std::string ColumnLetters(int column) {
    std::string letters;
    for (int rest = column; rest > 0; rest = (rest - 1) / kLettersInAlphabet) {
        letters += static_cast<char>('A' + (rest - 1) % kLettersInAlphabet);
    }
    std::reverse(letters.begin(), letters.end());
    return letters;
}

std::string ToA1Formula(std::string_view formula, int column) {
    const std::string letters = ColumnLetters(column);
    return MapReferences(
        formula, [&letters](int row, std::string_view) { return letters + std::to_string(row); });
}

StdevSwap::StdevSwap(const GridModel& grid)
    : grid_(grid), firstDataRow_(FirstRowOfKind(grid, kRowData)),
      lastDataRow_(LastRowOfKind(grid, kRowData)),
      stdevRow_(LastRowOfKind(grid, kRowStandardDeviation)) {}

bool StdevSwap::Applies(int column, int row) const {
    return firstDataRow_ > 0 && lastDataRow_ > 0 && stdevRow_ > 0 && row == stdevRow_ &&
           grid_.IsNumberCell(column, row);
}

SheetFormula StdevSwap::Replacement(int column) const {
    const std::string formula =
        "STDEV(#" + std::to_string(firstDataRow_) + ":#" + std::to_string(lastDataRow_) + ")";
    return {ToA1Formula(formula, column),
            Formula::Parse(formula).Evaluate(GridColumnLookup(grid_, column))};
}

} // namespace kestrix::table
