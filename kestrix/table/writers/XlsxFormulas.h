#pragma once

// Grid formulas as spreadsheet formulas: "#row" references become A1-style cell names in the
// formula's own column, and the standard deviation row of the table is written as the
// spreadsheet's STDEV over the data rows (the grid keeps its own formula).

#include "kestrix/table/FormulaValue.h"
#include "kestrix/table/GridModel.h"

#include <string>
#include <string_view>

namespace kestrix::table {

// "A", "B", ..., "Z", "AA", ... for columns counted from 1.
std::string ColumnLetters(int column);

// The formula text with every "#row" replaced by the cell name in `column`.
std::string ToA1Formula(std::string_view formula, int column);

// A formula cell as the file gets it: its A1-style text and its computed result.
struct SheetFormula {
    std::string text;
    FormulaValue result;
};

class StdevSwap {
public:
    // Finds the first and last data row and the standard deviation row; without any of them
    // nothing is swapped.
    explicit StdevSwap(const GridModel& grid);

    // Whether the cell's formula is replaced in the file.
    bool Applies(int column, int row) const;
    // STDEV over the data rows of the column, evaluated on the grid's values.
    SheetFormula Replacement(int column) const;

private:
    const GridModel& grid_;
    int firstDataRow_ = -1;
    int lastDataRow_ = -1;
    int stdevRow_ = -1;
};

} // namespace kestrix::table
