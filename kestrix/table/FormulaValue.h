#pragma once

// Results of formula evaluation and what a formula sees of the cells of its column.

#include <cstdint>
#include <span>
#include <string_view>

namespace kestrix::table {

enum class FormulaError : std::uint8_t {
    None,
    DivisionByZero, // "#DIV/0!": division by zero, AVERAGE of no numbers, STDEV of fewer than two
    Value,          // "#VALUE!": a lone reference to text, a range where one number is needed
    Name,           // "#NAME?": unknown function or bare word
    Number,         // "#NUM!": square root of a negative number, a result out of range
    Reference,      // "#REF!": a row that does not exist
    Syntax,         // "#ERROR!": the text is not a formula (also nesting deeper than allowed)
    Cycle,          // "#CYCLE!": the formula depends on itself
};

// The spreadsheet error text shown in place of a result; empty for None.
std::string_view ErrorText(FormulaError error);

struct FormulaValue {
    double number = 0.0;
    FormulaError error = FormulaError::None;

    bool IsError() const { return error != FormulaError::None; }
    static FormulaValue Error(FormulaError e) { return {0.0, e}; }
};

// One cell as a formula sees it.
struct CellValue {
    enum class Kind : std::uint8_t { Empty, Number, Text, Error };
    Kind kind = Kind::Empty;
    double number = 0.0;
    FormulaError error = FormulaError::None;
};

// The column a formula is evaluated in; rows are numbered from 1.
class CellLookup {
public:
    virtual ~CellLookup() = default;
    virtual int RowCount() const = 0;
    // Only called for rows 1 to RowCount().
    virtual CellValue ValueAt(int row) const = 0;
    // The cells of the rows from first on, one per entry of cells, all of them rows 1 to
    // RowCount(). By default one ValueAt each; a lookup that holds its cells together reads
    // them faster in one go, as ranges are read.
    virtual void ValuesAt(int first, std::span<CellValue> cells) const;
};

} // namespace kestrix::table
