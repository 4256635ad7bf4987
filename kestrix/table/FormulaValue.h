#pragma once

// Results of formula evaluation and what a formula sees of the cells of its column.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
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

// The numbers of a row range gathered in one pass, in row order: what AVERAGE, MAX, MIN, SUM
// and SUMSQ of the range need. After an error cell only the error counts.
struct RangeSummary {
    FormulaError error = FormulaError::None;
    std::size_t count = 0;
    double sum = 0.0;
    double sumOfSquares = 0.0;
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -std::numeric_limits<double>::infinity();

    void Add(double x) {
        ++count;
        sum += x;
        sumOfSquares += x * x;
        minimum = std::min(minimum, x);
        maximum = std::max(maximum, x);
    }
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
    // Rows first to last (first <= last, all of them rows 1 to RowCount()). By default read with
    // ValuesAt; a lookup may keep it for the other formulas that read the same range.
    virtual RangeSummary Summarize(int first, int last) const;

    // Calls add(number) for each number cell of rows first to last in order; the first error
    // cell stops it and is returned.
    template <typename Add>
    FormulaError ForEachNumber(int first, int last, Add add) const;
};

template <typename Add>
FormulaError CellLookup::ForEachNumber(int first, int last, Add add) const {
    constexpr int kBlock = 256; // rows read in one go
    CellValue block[kBlock];
    for (int row = first; row <= last; row += kBlock) {
        const auto count = static_cast<std::size_t>(std::min(kBlock, last - row + 1));
        ValuesAt(row, std::span<CellValue>(block, count));
        for (const CellValue& cell : std::span<const CellValue>(block, count)) {
            if (cell.kind == CellValue::Kind::Error) {
                return cell.error;
            }
            if (cell.kind == CellValue::Kind::Number) {
                add(cell.number);
            }
        }
    }
    return FormulaError::None;
}

} // namespace kestrix::table
