#include "kestrix/table/writers/CsvWriter.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kestrix::table {
namespace {

std::string Csv(const GridModel& grid, char decimalSeparator) {
    std::ostringstream out;
    WriteCsv(grid, out, CsvOptionsFor(decimalSeparator));
    return out.str();
}

GridModel OneRow() {
    GridModel grid;
    grid.SetColumnCount(3);
    grid.AddRow();
    return grid;
}

TEST(CsvWriter, SeparatorFollowsTheDecimalSeparator) {
    EXPECT_EQ(CsvOptionsFor(',').separator, ';');
    EXPECT_EQ(CsvOptionsFor('.').separator, ',');
}

TEST(CsvWriter, NumbersUseTheDecimalSeparatorAndRowsEndWithCrLf) {
    GridModel grid = OneRow();
    grid.SetText(1, 1, "Average");
    grid.SetNumber(2, 1, 1234.5, 2);
    grid.SetNumber(3, 1, 7, 0);
    grid.AddRow();
    EXPECT_EQ(Csv(grid, ','), "Average;1234,50;7\r\n;;\r\n");
    EXPECT_EQ(Csv(grid, '.'), "Average,1234.50,7\r\n,,\r\n");
}

TEST(CsvWriter, DecimalCommaNumbersNeedNoQuotesBetweenSemicolons) {
    GridModel grid = OneRow();
    grid.AddRow();
    grid.SetNumber(1, 1, 0.5, 1);
    grid.SetFormula(1, 2, "#1*3", 2);
    EXPECT_EQ(Csv(grid, ','), "0,5;;\r\n1,50;;\r\n");
}

TEST(CsvWriter, QuotesFieldsThatNeedIt) {
    GridModel grid = OneRow();
    grid.SetText(1, 1, "a,b");
    grid.SetText(2, 1, "say \"hi\"");
    grid.SetText(3, 1, "two\r\nlines");
    EXPECT_EQ(Csv(grid, '.'), "\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n");
    // The comma is no separator in a decimal-comma locale.
    EXPECT_EQ(Csv(grid, ','), "a,b;\"say \"\"hi\"\"\";\"two\r\nlines\"\r\n");
}

TEST(CsvWriter, QuotesSemicolonsOnlyWhereTheySeparate) {
    GridModel grid = OneRow();
    grid.SetText(1, 1, "x;y");
    grid.SetText(2, 1, " padded ");
    EXPECT_EQ(Csv(grid, '.'), "x;y,\" padded \",\r\n");
    EXPECT_EQ(Csv(grid, ','), "\"x;y\";\" padded \";\r\n");
}

TEST(CsvWriter, KeepsUtf8AndFormulaErrorsAsShown) {
    GridModel grid = OneRow();
    grid.SetText(1, 1, "ug/m\xC2\xB3 \xC2\xB5m");
    grid.SetFormula(2, 1, "1/0", 1);
    EXPECT_EQ(Csv(grid, '.'), "ug/m\xC2\xB3 \xC2\xB5m,#DIV/0!,\r\n");
}

TEST(CsvWriter, TextsThatStartLikeAFormulaAreMarkedAsText) {
    GridModel grid;
    grid.SetColumnCount(6);
    grid.AddRow();
    const char* texts[] = {"=1+1", "+A1", "-2", "@SUM(A1)", "a=b"};
    for (int column = 1; column <= 5; ++column) {
        grid.SetText(column, 1, texts[column - 1]);
    }
    grid.SetNumber(6, 1, -1.5, 1);
    EXPECT_EQ(Csv(grid, '.'), "'=1+1,'+A1,'-2,'@SUM(A1),a=b,-1.5\r\n");
}

TEST(CsvWriter, EmptyGridWritesNothing) {
    EXPECT_EQ(Csv(GridModel{}, '.'), "");
}

} // namespace
} // namespace kestrix::table
