#include "kestrix/table/Formula.h"

#include "kestrix/table/FormulaReferences.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kestrix::table {
namespace {

// A column given as a list: a number, a text or nothing per row (row 1 first).
class ListColumn : public CellLookup {
public:
    using Cell = std::variant<std::monostate, double, std::string>;
    explicit ListColumn(std::vector<Cell> cells) : cells_(std::move(cells)) {}

    int RowCount() const override { return static_cast<int>(cells_.size()); }
    CellValue ValueAt(int row) const override {
        const Cell& cell = cells_[static_cast<std::size_t>(row - 1)];
        if (const double* number = std::get_if<double>(&cell)) {
            return {.kind = CellValue::Kind::Number, .number = *number};
        }
        if (std::holds_alternative<std::string>(cell)) {
            return {.kind = CellValue::Kind::Text};
        }
        return {};
    }

private:
    std::vector<Cell> cells_;
};

const ListColumn kNumbers({2.0, 4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0});
const ListColumn kMixed({1.0, std::string("Cal"), std::monostate{}, 3.0, std::string("x")});

FormulaValue Eval(const std::string& text, const CellLookup& cells = kNumbers) {
    return Formula::Parse(text).Evaluate(cells);
}

double Number(const std::string& text, const CellLookup& cells = kNumbers) {
    const FormulaValue value = Eval(text, cells);
    EXPECT_FALSE(value.IsError()) << text << " gave " << ErrorText(value.error);
    return value.number;
}

FormulaError Error(const std::string& text, const CellLookup& cells = kNumbers) {
    return Eval(text, cells).error;
}

TEST(FormulaArithmetic, PrecedenceParenthesesAndUnaryMinus) {
    EXPECT_DOUBLE_EQ(Number("1 + 2 * 3"), 7.0);
    EXPECT_DOUBLE_EQ(Number("(1 + 2) * 3"), 9.0);
    EXPECT_DOUBLE_EQ(Number("10 - 4 - 3"), 3.0);
    EXPECT_DOUBLE_EQ(Number("12 / 3 / 2"), 2.0);
    EXPECT_DOUBLE_EQ(Number("-#1 * -2"), 4.0);
    EXPECT_DOUBLE_EQ(Number("--3"), 3.0);
    EXPECT_DOUBLE_EQ(Number("+.5e1"), 5.0);
    EXPECT_DOUBLE_EQ(Number("#8 / #1"), 4.5);
}

TEST(FormulaArithmetic, ErrorsOfArithmetic) {
    EXPECT_EQ(Error("1 / 0"), FormulaError::DivisionByZero);
    EXPECT_EQ(Error("1 / (#1 - 2)"), FormulaError::DivisionByZero);
    EXPECT_EQ(Error("SQRT(-1)"), FormulaError::Number);
    EXPECT_EQ(Error("1e308 * 10"), FormulaError::Number);
    // The first error met wins and travels through the rest of the expression.
    EXPECT_EQ(Error("SQRT(-1) + 1 / 0"), FormulaError::Number);
    EXPECT_EQ(Error("ABS(1 / 0) * 2"), FormulaError::DivisionByZero);
}

TEST(FormulaFunctions, AggregatesOverARange) {
    EXPECT_DOUBLE_EQ(Number("SUM(#1:#8)"), 40.0);
    EXPECT_DOUBLE_EQ(Number("AVERAGE(#1:#8)"), 5.0);
    EXPECT_DOUBLE_EQ(Number("MAX(#1:#8)"), 9.0);
    EXPECT_DOUBLE_EQ(Number("MIN(#1:#8)"), 2.0);
    EXPECT_DOUBLE_EQ(Number("SUMSQ(#1:#3)"), 4.0 + 16.0 + 16.0);
    // Sample standard deviation: squared deviations 9+1+1+1+0+0+4+16 = 32 over 7.
    EXPECT_DOUBLE_EQ(Number("STDEV(#1:#8)"), std::sqrt(32.0 / 7.0));
    EXPECT_DOUBLE_EQ(Number("SQRT(#2)"), 2.0);
    EXPECT_DOUBLE_EQ(Number("ABS(-#7)"), 7.0);
}

TEST(FormulaFunctions, SeveralArgumentsAndReversedRanges) {
    EXPECT_DOUBLE_EQ(Number("SUM(#1, #8, 100)"), 111.0);
    EXPECT_DOUBLE_EQ(Number("MAX(#3:#1)"), 4.0);
    EXPECT_DOUBLE_EQ(Number("AVERAGE(#1:#2, #7:#8)"), 5.5);
    EXPECT_DOUBLE_EQ(Number("sum(#1:#2)"), 6.0);
}

TEST(FormulaFunctions, StatisticsRowFormulaIsTheSampleStandardDeviation) {
    // Row 9 holds the average the way the table's statistics rows do.
    std::vector<ListColumn::Cell> cells{2.0, 4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0, 5.0};
    const ListColumn column(cells);
    EXPECT_DOUBLE_EQ(Number("SQRT(ABS((SUMSQ(#1:#8) - (#9 * SUM(#1:#8)))/7))", column),
                     Number("STDEV(#1:#8)", column));
}

TEST(FormulaFunctions, FewOrNoNumbers) {
    const ListColumn texts({std::string("a"), std::monostate{}});
    EXPECT_EQ(Error("STDEV(#1)"), FormulaError::DivisionByZero);
    EXPECT_EQ(Error("AVERAGE(#1:#2)", texts), FormulaError::DivisionByZero);
    EXPECT_EQ(Error("STDEV(#1:#2)", texts), FormulaError::DivisionByZero);
    EXPECT_DOUBLE_EQ(Number("MAX(#1:#2)", texts), 0.0);
    EXPECT_DOUBLE_EQ(Number("MIN(#1:#2)", texts), 0.0);
    EXPECT_DOUBLE_EQ(Number("SUM(#1:#2)", texts), 0.0);
    EXPECT_DOUBLE_EQ(Number("SUMSQ(#1:#2)", texts), 0.0);
}

TEST(FormulaReferencesToText, RangesSkipTextAndEmptyCells) {
    EXPECT_DOUBLE_EQ(Number("AVERAGE(#1:#5)", kMixed), 2.0);
    EXPECT_DOUBLE_EQ(Number("SUM(#2)", kMixed), 0.0);
    EXPECT_DOUBLE_EQ(Number("MIN(#1:#5)", kMixed), 1.0);
}

TEST(FormulaReferencesToText, LoneReferences) {
    EXPECT_EQ(Error("#2 + 1", kMixed), FormulaError::Value);
    EXPECT_EQ(Error("SQRT(#5)", kMixed), FormulaError::Value);
    EXPECT_DOUBLE_EQ(Number("#3 + 1", kMixed), 1.0);
    EXPECT_EQ(Error("#1:#4 + 1", kMixed), FormulaError::Value);
    EXPECT_EQ(Error("#1:#4", kMixed), FormulaError::Value);
}

TEST(FormulaReferencesToText, RowsOutsideTheColumn) {
    EXPECT_EQ(Error("#0"), FormulaError::Reference);
    EXPECT_EQ(Error("#9"), FormulaError::Reference);
    EXPECT_EQ(Error("SUM(#1:#9)"), FormulaError::Reference);
    EXPECT_EQ(Error("#99999999999999999999"), FormulaError::Reference);
}

TEST(FormulaSyntax, BadTextsAreErrorsNotCrashes) {
    for (const char* text : {"", "   ", "1 +", "(1", "1)", "SUM()", "SUM(#1,)", "#", "#a", "#1:",
                             "#1:2", "1 2", "SQRT(1, 2)", "ABS()", "1e", "*3", "SUM(#1:#2"}) {
        EXPECT_EQ(Formula::Parse(text).ParseError(), FormulaError::Syntax) << text;
        EXPECT_EQ(Error(text), FormulaError::Syntax) << text;
    }
    for (const char* text : {"MEDIAN(#1:#2)", "PI", "inf", "nan + 1"}) {
        EXPECT_EQ(Error(text), FormulaError::Name) << text;
    }
}

TEST(FormulaSyntax, NestingIsBounded) {
    const int depth = Formula::kMaxNesting;
    EXPECT_DOUBLE_EQ(Number(std::string(depth - 1, '(') + "1" + std::string(depth - 1, ')')), 1.0);
    EXPECT_EQ(Error(std::string(100000, '(') + "1" + std::string(100000, ')')),
              FormulaError::Syntax);
    EXPECT_EQ(Error(std::string(100000, '-') + "1"), FormulaError::Syntax);
    std::string longSum = "1";
    for (int i = 0; i < 100000; ++i) {
        longSum += "+1";
    }
    EXPECT_DOUBLE_EQ(Number(longSum), 100001.0);
}

TEST(FormulaReferenceTexts, ReferencesAreListedAsWritten) {
    const std::vector<RowRange> references = Formula::Parse("SUM(#3:#12) - #14 * #2").References();
    ASSERT_EQ(references.size(), 3u);
    EXPECT_EQ(references[0].first, 3);
    EXPECT_EQ(references[0].last, 12);
    EXPECT_EQ(references[1].first, 14);
    EXPECT_EQ(references[2].last, 2);
}

TEST(FormulaReferenceTexts, ShiftingRenumbersOnlyRowsAtOrBelowTheInsertion) {
    EXPECT_EQ(ShiftReferences("SQRT(ABS((SUMSQ(#3:#12) - (#14 * SUM(#3:#12)))/9))", 3, 2),
              "SQRT(ABS((SUMSQ(#5:#14) - (#16 * SUM(#5:#14)))/9))");
    EXPECT_EQ(ShiftReferences("AVERAGE(#3:#12)", 5, 1), "AVERAGE(#3:#13)");
    EXPECT_EQ(ShiftReferences("MAX(#3:#12)", 13, 1), "MAX(#3:#12)");
    EXPECT_EQ(ShiftReferences("#99999999999 + # + 9", 1, 1), "#99999999999 + # + 9");
}

TEST(FormulaReferenceTexts, MappingRewritesReferenceTokens) {
    const auto toA1 = [](int row, std::string_view) { return "C" + std::to_string(row); };
    EXPECT_EQ(MapReferences("STDEV(#9:#20)", toA1), "STDEV(C9:C20)");
}

} // namespace
} // namespace kestrix::table
