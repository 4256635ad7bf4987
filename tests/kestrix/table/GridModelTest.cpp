#include "kestrix/table/GridModel.h"

#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace kestrix::table {
namespace {

// A grid with column 1 holding the numbers of `values` from row `firstRow` on.
GridModel ColumnOfNumbers(std::initializer_list<double> values, int firstRow = 1,
                          int decimals = 0) {
    GridModel grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(firstRow - 1 + static_cast<int>(values.size()) + 4);
    int row = firstRow;
    for (double value : values) {
        grid.SetNumber(1, row++, value, decimals);
    }
    return grid;
}

TEST(GridCells, KindsAndShownTexts) {
    GridModel grid;
    grid.SetColumnCount(3);
    grid.SetRowCount(2);
    grid.SetText(1, 1, "Location");
    grid.SetNumber(2, 1, 3.14159, 2);
    grid.SetNumberType(3, 1, 1);

    EXPECT_EQ(grid.Kind(1, 1), CellKind::Text);
    EXPECT_EQ(grid.ShownText(1, 1), "Location");
    EXPECT_EQ(grid.Kind(2, 1), CellKind::Number);
    EXPECT_EQ(grid.ShownText(2, 1), "3.14");
    EXPECT_EQ(grid.ShownText(2, 1, ','), "3,14");
    EXPECT_DOUBLE_EQ(grid.Value(2, 1).number, 3.14159);
    EXPECT_EQ(grid.Kind(3, 1), CellKind::Empty);
    EXPECT_EQ(grid.Decimals(3, 1), 1);
    EXPECT_EQ(grid.ShownText(3, 1), "");
    EXPECT_FALSE(grid.HoldsNumber(1, 1));
    EXPECT_TRUE(grid.HoldsNumber(2, 1));
    EXPECT_FALSE(grid.HoldsNumber(3, 1));
}

TEST(GridCells, OverwritingChangesTheKind) {
    GridModel grid;
    grid.SetColumnCount(1);
    grid.SetRowCount(1);
    grid.SetNumber(1, 1, 5.0, 0);
    grid.SetText(1, 1, "NA");
    EXPECT_EQ(grid.ShownText(1, 1), "NA");
    grid.SetFormula(1, 1, "1+1", 0);
    EXPECT_EQ(grid.ShownText(1, 1), "2");
    grid.SetNumber(1, 1, 7.0, 0);
    EXPECT_EQ(grid.Formula(1, 1), "");
    EXPECT_EQ(grid.ShownText(1, 1), "7");
    grid.ClearContent(1, 1);
    EXPECT_EQ(grid.Kind(1, 1), CellKind::Empty);
}

TEST(GridCells, PositionsOutsideTheGridAreIgnored) {
    GridModel grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(2);
    EXPECT_FALSE(grid.SetText(0, 1, "x"));
    EXPECT_FALSE(grid.SetNumber(3, 1, 1.0, 0));
    EXPECT_FALSE(grid.SetNote(1, 3, "x"));
    EXPECT_FALSE(grid.SetRowUserValue(0, 1));
    EXPECT_EQ(grid.ShownText(-1, 5), "");
    EXPECT_EQ(grid.Value(1, 9).error, FormulaError::Reference);
    EXPECT_FALSE(grid.SetColumnCount(-1));
    EXPECT_FALSE(grid.SetRowCount(GridModel::kMaxRows + 1));
    EXPECT_EQ(grid.RowCount(), 2);
}

TEST(GridDecimals, EachCellKeepsItsOwnDecimals) {
    GridModel grid = ColumnOfNumbers({1.25, 1.25}, 1, 0);
    grid.SetNumber(1, 2, 1.25, 1);
    EXPECT_EQ(grid.ShownText(1, 1), "1");
    EXPECT_EQ(grid.ShownText(1, 2), "1.3");
    grid.SetTextColor(1, 2, Rgb::FromHex(0xFF00FF));
    EXPECT_EQ(grid.Decimals(1, 2), 1);
    EXPECT_EQ(grid.Format(1, 2).textColor, Rgb::FromHex(0xFF00FF));
    EXPECT_EQ(grid.Format(1, 1).textColor, kBlack);
}

TEST(GridFormulas, StatisticsOfAColumnAreShownWithTheirDecimals) {
    GridModel grid = ColumnOfNumbers({1, 2, 3, 4}, 3);
    grid.SetFormula(1, 7, "AVERAGE(#3:#6)", 1);
    grid.SetFormula(1, 8, "MAX(#3:#6)", 0);
    grid.SetFormula(1, 9, "STDEV(#3:#6)", 3);
    EXPECT_EQ(grid.ShownText(1, 7), "2.5");
    EXPECT_EQ(grid.ShownText(1, 8), "4");
    EXPECT_DOUBLE_EQ(grid.Value(1, 9).number, std::sqrt(5.0 / 3.0));
    EXPECT_EQ(grid.ShownText(1, 9), "1.291");
    EXPECT_TRUE(grid.IsNumberCell(1, 7));
    EXPECT_EQ(grid.Formula(1, 7), "AVERAGE(#3:#6)");
}

TEST(GridFormulas, ResultsFollowChangedCells) {
    GridModel grid = ColumnOfNumbers({1, 2, 3});
    grid.SetFormula(1, 4, "SUM(#1:#3)", 0);
    EXPECT_EQ(grid.ShownText(1, 4), "6");
    grid.SetNumber(1, 2, 20, 0);
    EXPECT_EQ(grid.ShownText(1, 4), "24");
    grid.SetText(1, 3, "Bad");
    EXPECT_EQ(grid.ShownText(1, 4), "21");
}

TEST(GridFormulas, ErrorsShowAsSpreadsheetErrorTexts) {
    GridModel grid = ColumnOfNumbers({4});
    grid.SetText(1, 2, "text");
    grid.SetFormula(1, 3, "STDEV(#1:#1)", 1);
    grid.SetFormula(1, 4, "#2 * 2", 1);
    grid.SetFormula(1, 5, "MEDIAN(#1)", 1);
    EXPECT_EQ(grid.ShownText(1, 3), "#DIV/0!");
    EXPECT_EQ(grid.ShownText(1, 4), "#VALUE!");
    EXPECT_EQ(grid.ShownText(1, 5), "#NAME?");
    EXPECT_FALSE(grid.HoldsNumber(1, 3));
    EXPECT_TRUE(grid.IsNumberCell(1, 3));
}

TEST(GridFormulas, FormulasReadOtherFormulasAndCyclesEnd) {
    GridModel grid = ColumnOfNumbers({2, 4, 6});
    grid.SetFormula(1, 4, "AVERAGE(#1:#3)", 1);
    grid.SetFormula(1, 5, "#4 * 10", 0);
    EXPECT_EQ(grid.ShownText(1, 5), "40");

    grid.SetFormula(2, 1, "#2 + 1", 0);
    grid.SetFormula(2, 2, "#1 + 1", 0);
    grid.SetFormula(2, 3, "SUM(#1:#3)", 0);
    EXPECT_EQ(grid.ShownText(2, 1), "#CYCLE!");
    EXPECT_EQ(grid.ShownText(2, 2), "#CYCLE!");
    EXPECT_EQ(grid.ShownText(2, 3), "#CYCLE!");
}

TEST(GridFormulas, LongChainsOfFormulasEvaluate) {
    GridModel grid;
    grid.SetColumnCount(1);
    const int rows = 20000;
    grid.SetRowCount(rows);
    grid.SetNumber(1, 1, 0, 0);
    for (int row = 2; row <= rows; ++row) {
        grid.SetFormula(1, row, "#" + std::to_string(row - 1) + " + 1", 0);
    }
    EXPECT_EQ(grid.ShownText(1, rows), std::to_string(rows - 1));
}

TEST(GridInsertion, ReferencesStayOnTheSameCells) {
    // Data rows 3 to 12, Average row 14, as the table writes them before its header lines.
    GridModel grid;
    grid.SetColumnCount(1);
    grid.SetRowCount(17);
    for (int row = 3; row <= 12; ++row) {
        grid.SetNumber(1, row, row, 0);
    }
    grid.SetFormula(1, 14, "AVERAGE(#3:#12)", 1);
    grid.SetFormula(1, 17, "SQRT(ABS((SUMSQ(#3:#12) - (#14 * SUM(#3:#12)))/9))", 1);
    const std::string average = grid.ShownText(1, 14);
    const std::string deviation = grid.ShownText(1, 17);

    grid.InsertRowAbove(1);
    grid.InsertRowAbove(1);

    EXPECT_EQ(grid.Formula(1, 16), "AVERAGE(#5:#14)");
    EXPECT_EQ(grid.Formula(1, 19), "SQRT(ABS((SUMSQ(#5:#14) - (#16 * SUM(#5:#14)))/9))");
    EXPECT_EQ(grid.ShownText(1, 16), average);
    EXPECT_EQ(grid.ShownText(1, 19), deviation);
    EXPECT_EQ(grid.Kind(1, 1), CellKind::Empty);
    EXPECT_EQ(grid.Kind(1, 14), CellKind::Number);
}

TEST(GridInsertion, RangesSpanningTheInsertionGrowAndRowsAboveStay) {
    GridModel grid = ColumnOfNumbers({1, 2, 3, 4});
    grid.SetFormula(1, 5, "SUM(#1:#4)", 0);
    grid.SetFormula(1, 6, "#1 + #4", 0);
    grid.InsertRowAbove(3);
    EXPECT_EQ(grid.Formula(1, 6), "SUM(#1:#5)");
    EXPECT_EQ(grid.Formula(1, 7), "#1 + #5");
    grid.SetNumber(1, 3, 100, 0);
    EXPECT_EQ(grid.ShownText(1, 6), "110");
    EXPECT_EQ(grid.ShownText(1, 7), "5");
}

TEST(GridInsertion, FormulasAboveTheInsertionKeepTheirPlace) {
    GridModel grid = ColumnOfNumbers({7, 0, 0, 5}, 1);
    grid.SetFormula(1, 2, "#1 * 2", 0);
    grid.SetFormula(1, 3, "#4 * 2", 0);
    grid.InsertRowAbove(4);
    EXPECT_EQ(grid.Formula(1, 2), "#1 * 2");
    EXPECT_EQ(grid.Formula(1, 3), "#5 * 2");
    EXPECT_EQ(grid.ShownText(1, 3), "10");
    EXPECT_EQ(grid.Kind(1, 4), CellKind::Empty);
}

TEST(GridInsertion, CellsNotesSpansAndRowValuesMoveDown) {
    GridModel grid;
    grid.SetColumnCount(3);
    grid.SetRowCount(2);
    grid.SetText(1, 1, "Average");
    grid.SetSpan(1, 1, 2);
    grid.SetNote(3, 1, "- Bad flow rate.");
    grid.SetRowUserValue(1, 4);
    grid.SetRowUserValue(2, 5);
    grid.InsertRowAbove(1);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.ShownText(1, 2), "Average");
    EXPECT_EQ(grid.Span(1, 2), 2);
    EXPECT_EQ(grid.Span(1, 1), 1);
    EXPECT_EQ(grid.Note(3, 2), "- Bad flow rate.");
    EXPECT_EQ(grid.Note(3, 1), "");
    EXPECT_EQ(grid.RowUserValue(1), 0);
    EXPECT_EQ(grid.RowUserValue(2), 4);
    EXPECT_EQ(grid.RowUserValue(3), 5);
    EXPECT_TRUE(grid.InsertRowAbove(4));
    EXPECT_FALSE(grid.InsertRowAbove(6));
}

TEST(GridRemoval, CellsNotesFormulasAndRowValuesMoveUp) {
    GridModel grid = ColumnOfNumbers({1, 2, 3, 4, 5});
    grid.SetNote(1, 4, "- Bad flow rate.");
    grid.SetRowUserValue(5, 3);
    grid.SetFormula(1, 6, "SUM(#3:#5)", 0);
    grid.SetFormula(1, 7, "#1 + #5", 0);
    ASSERT_TRUE(grid.RemoveRows(1, 2));
    EXPECT_EQ(grid.RowCount(), 7);
    EXPECT_EQ(grid.ShownText(1, 1), "3");
    EXPECT_EQ(grid.Note(1, 2), "- Bad flow rate.");
    EXPECT_EQ(grid.Note(1, 4), "");
    EXPECT_EQ(grid.RowUserValue(3), 3);
    EXPECT_EQ(grid.Formula(1, 4), "SUM(#1:#3)");
    EXPECT_EQ(grid.ShownText(1, 4), "12");
    EXPECT_EQ(grid.ShownText(1, 5), "#REF!"); // it read a removed row
    EXPECT_FALSE(grid.RemoveRows(7, 2));
}

TEST(GridArrangement, ColumnsMoveWithTheirCellsAndTheRestGo) {
    GridModel grid;
    grid.SetColumnCount(3);
    grid.SetRowCount(3);
    for (int column = 1; column <= 3; ++column) {
        grid.SetNumber(column, 1, column, 0);
        grid.SetColumnUserValue(column, column * 10);
    }
    grid.SetNote(3, 2, "- Bad laser voltage.");
    grid.SetFormula(3, 3, "#1 * 2", 0);
    ASSERT_TRUE(grid.ArrangeColumns({3, 0, 1}));
    EXPECT_EQ(grid.ColumnCount(), 3);
    EXPECT_EQ(grid.ShownText(1, 1), "3");
    EXPECT_EQ(grid.Note(1, 2), "- Bad laser voltage.");
    EXPECT_EQ(grid.ShownText(1, 3), "6");
    EXPECT_EQ(grid.ColumnUserValue(1), 30);
    EXPECT_EQ(grid.Kind(2, 1), CellKind::Empty);
    EXPECT_EQ(grid.ColumnUserValue(2), 0);
    EXPECT_EQ(grid.Formula(3, 3), "");
    EXPECT_EQ(grid.ShownText(3, 1), "1");
    EXPECT_FALSE(grid.ArrangeColumns({1, 1}));
}

TEST(GridCounts, SettingBothCountsToZeroEmptiesEverything) {
    GridModel grid = ColumnOfNumbers({1, 2});
    grid.SetFormula(1, 3, "SUM(#1:#2)", 0);
    grid.SetNote(1, 1, "note");
    grid.SetRowUserValue(1, 3);
    grid.SetColumnUserValue(1, 0x10);
    grid.SetColumnWidth(1, 20);
    grid.SetColumnCount(0);
    grid.SetRowCount(0);
    grid.SetColumnCount(2);
    grid.SetRowCount(3);
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(grid.Kind(1, row), CellKind::Empty);
        EXPECT_EQ(grid.RowUserValue(row), 0);
        EXPECT_EQ(grid.Note(1, row), "");
        EXPECT_EQ(grid.Formula(1, row), "");
    }
    EXPECT_EQ(grid.ColumnUserValue(1), 0);
    EXPECT_DOUBLE_EQ(grid.ColumnWidth(1), GridColumn::kDefaultWidth);
}

TEST(GridCounts, ShrinkingDropsCellsAndFormulasBeyond) {
    GridModel grid = ColumnOfNumbers({1, 2, 3});
    grid.SetFormula(1, 4, "SUM(#1:#3)", 0);
    grid.SetFormula(1, 5, "#2 + 1", 0);
    grid.SetRowCount(2);
    grid.SetRowCount(5);
    EXPECT_EQ(grid.Kind(1, 3), CellKind::Empty);
    EXPECT_EQ(grid.Formula(1, 4), "");
    EXPECT_EQ(grid.Kind(1, 5), CellKind::Empty);
}

TEST(GridSpans, SpanIsCutAtTheLastColumn) {
    GridModel grid;
    grid.SetColumnCount(4);
    grid.SetRowCount(1);
    grid.SetSpan(2, 1, 10);
    EXPECT_EQ(grid.Span(2, 1), 3);
    grid.SetColumnCount(6);
    EXPECT_EQ(grid.Span(2, 1), 5);
    grid.SetSpan(2, 1, 1);
    EXPECT_EQ(grid.Span(2, 1), 1);
    EXPECT_FALSE(grid.SetSpan(2, 1, 0));
}

TEST(GridNotes, NoteAndFlagAreReadBack) {
    GridModel grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(2);
    const std::string note = "- Instrument malfunctioned.\r\n- Bad laser voltage.";
    grid.SetNote(2, 2, note);
    grid.SetFlagged(2, 2, true);
    EXPECT_EQ(grid.Note(2, 2), note);
    EXPECT_TRUE(grid.Format(2, 2).flagged);
    EXPECT_EQ(grid.Note(2, 1), "");
    EXPECT_FALSE(grid.Format(2, 1).flagged);
    grid.SetNote(2, 2, "");
    EXPECT_EQ(grid.Note(2, 2), "");
}

TEST(GridWidths, WidestTextCoversEveryKindOfCell) {
    GridModel grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(4);
    grid.SetText(1, 1, "Sample Time");
    grid.SetNumber(1, 2, -12345.678, 2);
    grid.SetFormula(1, 3, "1/0", 2);
    EXPECT_EQ(grid.WidestTextWidth(1), 11);
    grid.SetText(1, 4, "Instrument Serial #: 000012345");
    grid.SetSpan(1, 4, 2);
    EXPECT_EQ(grid.WidestTextWidth(1), 30);
    EXPECT_EQ(grid.WidestTextWidth(2), 0);
    grid.SetNumber(2, 1, 99.96, 1);
    EXPECT_EQ(grid.WidestTextWidth(2), static_cast<int>(grid.ShownText(2, 1).size()));
    // Numbers of other decimals in the same column are measured with their own.
    grid.SetNumber(2, 2, -5.5, 0);
    grid.SetNumber(2, 3, 7.0, 5);
    EXPECT_EQ(grid.WidestTextWidth(2), 7);
}

TEST(GridMemory, CellsAreStoredCompactly) {
    GridModel grid;
    grid.SetColumnCount(10);
    grid.SetRowCount(10000);
    for (int column = 1; column <= 10; ++column) {
        for (int row = 1; row <= 10000; ++row) {
            grid.SetNumber(column, row, row * 0.5, 2);
        }
    }
    EXPECT_LT(grid.BytesHeld(), 100000u * 9u);
}

// Cell kinds share the number's bits, so a NaN must stay a number.
TEST(GridMemory, NotANumberStaysANumberCell) {
    GridModel grid;
    grid.SetColumnCount(1);
    grid.SetRowCount(1);
    for (const double nan :
         {std::nan(""), -std::nan(""), std::bit_cast<double>(0xFFFC'5A01'0000'0007)}) {
        grid.SetNumber(1, 1, nan, 0);
        EXPECT_EQ(grid.Kind(1, 1), CellKind::Number);
        EXPECT_TRUE(std::isnan(grid.Value(1, 1).number));
    }
}

} // namespace
} // namespace kestrix::table

namespace kestrix::table {
namespace {

TEST(GridChangeNotice, ComesOnReplacementAndWhenRedrawReturns) {
    GridModel grid;
    int notices = 0;
    grid.SetChangeListener([&notices] { ++notices; });
    GridModel table;
    table.SetColumnCount(2);
    table.SetRowCount(3);
    grid.ReplaceWith(std::move(table));
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(grid.RowCount(), 3);

    grid.SetRedraw(false);
    grid.ReplaceWith(GridModel{});
    grid.SetText(1, 1, "silent");
    EXPECT_EQ(notices, 1);
    grid.SetRedraw(true);
    EXPECT_EQ(notices, 2);
    grid.SetRedraw(true); // nothing changed since
    EXPECT_EQ(notices, 2);
    EXPECT_TRUE(grid.Redraw());
}

TEST(GridChangeNotice, SpansAndNotesAreListedColumnByColumn) {
    GridModel grid;
    grid.SetColumnCount(4);
    grid.SetRowCount(5);
    grid.SetSpan(3, 2, 9); // cut at the last column
    grid.SetSpan(1, 4, 2);
    grid.SetSpan(2, 1, 1);
    grid.SetNote(4, 5, "late");
    grid.SetNote(2, 3, "early");
    grid.SetNote(2, 4, "");
    EXPECT_EQ(grid.Spans(), (std::vector<CellSpan>{{1, 4, 2}, {3, 2, 2}}));
    const auto noted = grid.NotedCells();
    ASSERT_EQ(noted.size(), 2U);
    EXPECT_EQ(noted[0].column, 2);
    EXPECT_EQ(noted[0].row, 3);
    EXPECT_EQ(noted[1].column, 4);
}

} // namespace
} // namespace kestrix::table
