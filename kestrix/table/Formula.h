#pragma once

// A compiled grid formula. Formulas refer to cells of their own column as "#" + row number
// ("#5") and to row ranges as "#5:#20". The grammar:
//
//   expression := term { ("+" | "-") term }
//   term       := unary { ("*" | "/") unary }
//   unary      := ("-" | "+") unary | primary
//   primary    := number | "#" row [ ":" "#" row ] | name "(" argument { "," argument } ")"
//               | "(" expression ")"
//
// Names (case-blind): AVERAGE, MAX, MIN, SUM, SUMSQ, STDEV take one or more arguments; SQRT and
// ABS take exactly one. Blanks between tokens are ignored.
//
// Evaluation follows common spreadsheet rules: inside an aggregate function a reference or range
// contributes only its number cells (text and empty cells are skipped, an error cell propagates);
// a lone reference to text is #VALUE!, to an empty cell 0; MAX and MIN of no numbers are 0,
// AVERAGE of none is #DIV/0!, STDEV (sample standard deviation) needs two numbers.
//
// The text is compiled to postfix code, so evaluation never recurses; parsing recurses once per
// nesting level and refuses more than kMaxNesting levels.

#include "kestrix/table/FormulaValue.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrix::table {

// A row range referenced by a formula; a single reference has first == last.
struct RowRange {
    int first = 0;
    int last = 0;
};

class Formula {
public:
    static constexpr int kMaxNesting = 100;

    static Formula Parse(std::string_view text);

    // Syntax or Name when the text is not a valid formula, else None.
    FormulaError ParseError() const { return parseError_; }

    FormulaValue Evaluate(const CellLookup& cells) const;

    // Every reference of the formula, in the order written; ranges as written (first may
    // exceed last).
    std::vector<RowRange> References() const;

    std::size_t BytesHeld() const { return code_.capacity() * sizeof(Instruction); }

    enum class Function : std::uint8_t { Average, Max, Min, Sum, SumSq, Stdev, Sqrt, Abs };
    enum class Op : std::uint8_t {
        PushNumber,
        PushRange,
        Negate,
        Add,
        Subtract,
        Multiply,
        Divide,
        Call
    };
    struct Instruction {
        Op op = Op::PushNumber;
        Function function = Function::Sum;
        std::uint32_t argumentCount = 0;
        double number = 0.0;
        RowRange rows;
    };

private:
    friend class FormulaParser;

    std::vector<Instruction> code_;
    FormulaError parseError_ = FormulaError::Syntax;
};

} // namespace kestrix::table
