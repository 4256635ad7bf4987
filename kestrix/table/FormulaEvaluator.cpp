// Stack machine running a formula's postfix code over the cells of one column.

#include "kestrix/table/Formula.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

namespace kestrix::table {

std::string_view ErrorText(FormulaError error) {
    switch (error) {
    case FormulaError::None:
        return {};
    case FormulaError::DivisionByZero:
        return "#DIV/0!";
    case FormulaError::Value:
        return "#VALUE!";
    case FormulaError::Name:
        return "#NAME?";
    case FormulaError::Number:
        return "#NUM!";
    case FormulaError::Reference:
        return "#REF!";
    case FormulaError::Syntax:
        return "#ERROR!";
    case FormulaError::Cycle:
        return "#CYCLE!";
    }
    return "#ERROR!";
}

void CellLookup::ValuesAt(int first, std::span<CellValue> cells) const {
    for (CellValue& cell : cells) {
        cell = ValueAt(first++);
    }
}

RangeSummary CellLookup::Summarize(int first, int last) const {
    RangeSummary summary;
    summary.error = ForEachNumber(first, last, [&summary](double x) { summary.Add(x); });
    return summary;
}

namespace {

using Function = Formula::Function;
using Op = Formula::Op;

// A value on the stack, or a reference whose meaning depends on where it is used.
struct Operand {
    bool isRange = false;
    FormulaValue value;
    RowRange rows;
};

FormulaValue Checked(double number) {
    return std::isfinite(number) ? FormulaValue{number} : FormulaValue::Error(FormulaError::Number);
}

bool RangeExists(const RowRange& rows, const CellLookup& cells) {
    return std::min(rows.first, rows.last) >= 1 &&
           std::max(rows.first, rows.last) <= cells.RowCount();
}

// A reference used where one number is needed.
FormulaValue ScalarOf(const Operand& operand, const CellLookup& cells) {
    if (!operand.isRange) {
        return operand.value;
    }
    if (!RangeExists(operand.rows, cells)) {
        return FormulaValue::Error(FormulaError::Reference);
    }
    if (operand.rows.first != operand.rows.last) {
        return FormulaValue::Error(FormulaError::Value);
    }
    const CellValue cell = cells.ValueAt(operand.rows.first);
    switch (cell.kind) {
    case CellValue::Kind::Empty:
        return FormulaValue{0.0};
    case CellValue::Kind::Number:
        return FormulaValue{cell.number};
    case CellValue::Kind::Text:
        return FormulaValue::Error(FormulaError::Value);
    case CellValue::Kind::Error:
        return FormulaValue::Error(cell.error);
    }
    return FormulaValue::Error(FormulaError::Value);
}

// Running statistics over the numbers of an aggregate's arguments (Welford's update keeps the
// standard deviation accurate for large, close values; its division per number is spent only
// when the deviation is asked for).
struct Statistics {
    explicit Statistics(bool withDeviation) : withDeviation(withDeviation) {}

    bool withDeviation;
    RangeSummary numbers;
    double mean = 0.0;
    double squaredDeviations = 0.0;

    void Add(double x) {
        numbers.Add(x);
        if (withDeviation) {
            const double delta = x - mean;
            mean += delta / static_cast<double>(numbers.count);
            squaredDeviations += delta * (x - mean);
        }
    }
};

FormulaError AddRange(const RowRange& rows, const CellLookup& cells, Statistics& statistics) {
    if (!RangeExists(rows, cells)) {
        return FormulaError::Reference;
    }
    const int first = std::min(rows.first, rows.last);
    const int last = std::max(rows.first, rows.last);
    // A range read first gives the same sums as its summary, which the lookup may share.
    if (!statistics.withDeviation && statistics.numbers.count == 0) {
        statistics.numbers = cells.Summarize(first, last);
        return statistics.numbers.error;
    }
    return cells.ForEachNumber(first, last, [&statistics](double x) { statistics.Add(x); });
}

FormulaValue Aggregate(Function function, const Statistics& statistics) {
    const RangeSummary& s = statistics.numbers;
    const auto n = static_cast<double>(s.count);
    switch (function) {
    case Function::Average:
        return s.count == 0 ? FormulaValue::Error(FormulaError::DivisionByZero)
                            : Checked(s.sum / n);
    case Function::Max:
        return Checked(s.count == 0 ? 0.0 : s.maximum);
    case Function::Min:
        return Checked(s.count == 0 ? 0.0 : s.minimum);
    case Function::Sum:
        return Checked(s.sum);
    case Function::SumSq:
        return Checked(s.sumOfSquares);
    case Function::Stdev:
        return s.count < 2 ? FormulaValue::Error(FormulaError::DivisionByZero)
                           : Checked(std::sqrt(statistics.squaredDeviations / (n - 1.0)));
    case Function::Sqrt:
    case Function::Abs:
        break;
    }
    return FormulaValue::Error(FormulaError::Value);
}

FormulaValue CallAggregate(Function function, std::span<const Operand> arguments,
                           const CellLookup& cells) {
    Statistics statistics(function == Function::Stdev);
    for (const Operand& argument : arguments) {
        if (argument.isRange) {
            const FormulaError error = AddRange(argument.rows, cells, statistics);
            if (error != FormulaError::None) {
                return FormulaValue::Error(error);
            }
        } else if (argument.value.IsError()) {
            return argument.value;
        } else {
            statistics.Add(argument.value.number);
        }
    }
    return Aggregate(function, statistics);
}

FormulaValue CallScalar(Function function, const FormulaValue& argument) {
    if (argument.IsError()) {
        return argument;
    }
    if (function == Function::Abs) {
        return Checked(std::fabs(argument.number));
    }
    if (argument.number < 0.0) {
        return FormulaValue::Error(FormulaError::Number);
    }
    return Checked(std::sqrt(argument.number));
}

FormulaValue Arithmetic(Op op, const FormulaValue& left, const FormulaValue& right) {
    if (left.IsError()) {
        return left;
    }
    if (right.IsError()) {
        return right;
    }
    switch (op) {
    case Op::Add:
        return Checked(left.number + right.number);
    case Op::Subtract:
        return Checked(left.number - right.number);
    case Op::Multiply:
        return Checked(left.number * right.number);
    case Op::Divide:
        return right.number == 0.0 ? FormulaValue::Error(FormulaError::DivisionByZero)
                                   : Checked(left.number / right.number);
    default:
        break;
    }
    return FormulaValue::Error(FormulaError::Value);
}

Operand ValueOperand(FormulaValue value) {
    Operand operand;
    operand.value = value;
    return operand;
}

Operand RangeOperand(RowRange rows) {
    Operand operand;
    operand.isRange = true;
    operand.rows = rows;
    return operand;
}

} // namespace

FormulaValue Formula::Evaluate(const CellLookup& cells) const {
    if (parseError_ != FormulaError::None) {
        return FormulaValue::Error(parseError_);
    }
    std::vector<Operand> stack;
    for (const Instruction& instruction : code_) {
        switch (instruction.op) {
        case Op::PushNumber:
            stack.push_back(ValueOperand(FormulaValue{instruction.number}));
            break;
        case Op::PushRange:
            stack.push_back(RangeOperand(instruction.rows));
            break;
        case Op::Negate: {
            const FormulaValue value = ScalarOf(stack.back(), cells);
            stack.back() = ValueOperand(value.IsError() ? value : FormulaValue{-value.number});
            break;
        }
        case Op::Call: {
            const auto first = stack.end() - instruction.argumentCount;
            const std::span<const Operand> arguments(first, stack.end());
            const FormulaValue result =
                instruction.function == Function::Sqrt || instruction.function == Function::Abs
                    ? CallScalar(instruction.function, ScalarOf(arguments.front(), cells))
                    : CallAggregate(instruction.function, arguments, cells);
            stack.erase(first, stack.end());
            stack.push_back(ValueOperand(result));
            break;
        }
        default: {
            const FormulaValue right = ScalarOf(stack.back(), cells);
            stack.pop_back();
            stack.back() =
                ValueOperand(Arithmetic(instruction.op, ScalarOf(stack.back(), cells), right));
            break;
        }
        }
    }
    return ScalarOf(stack.back(), cells);
}

} // namespace kestrix::table
