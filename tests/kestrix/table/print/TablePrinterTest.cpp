#include "kestrix/table/print/TablePrinter.h"

#include "../writers/TemporaryFolder.h"
#include "kestrix/table/tableRowKinds.h"

#include <QGuiApplication>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace kestrix::table {
namespace {

using testing::TemporaryFolder;

constexpr int kColumns = 30;
constexpr int kDataRows = 120;

// A table too wide and too long for one page, its first column (the title column) titled
// "Timestamp", its last "Last Column".
GridModel LargeTable() {
    GridModel grid;
    grid.SetColumnCount(kColumns);
    grid.AddRow();
    grid.SetRowUserValue(1, kRowHeaderLine);
    grid.SetText(1, 1, "Instrument Model: Repeated Header");
    grid.SetSpan(1, 1, kColumns);
    grid.AddRow();
    grid.SetRowUserValue(2, kRowColumnTitle);
    for (int column = 1; column <= kColumns; ++column) {
        grid.SetText(column, 2,
                     column == 1 ? "Timestamp" : (column == kColumns ? "Last Column" : "Title"));
        grid.SetColumnWidth(column, 12);
    }
    grid.SetFrozenRows(2);
    grid.SetTitleColumns(1);
    for (int record = 1; record <= kDataRows; ++record) {
        const int row = grid.AddRow();
        grid.SetRowUserValue(row, kRowData);
        for (int column = 1; column <= kColumns; ++column) {
            grid.SetNumber(column, row, record * 1000 + column, 0);
        }
    }
    return grid;
}

// The text of one page of the PDF, empty when pdftotext fails.
std::string PageText(const std::string& pdf, int page, const TemporaryFolder& folder) {
    const std::string out = folder.Path("page.txt");
    const std::string command = "pdftotext -layout -f " + std::to_string(page) + " -l " +
                                std::to_string(page) + " '" + pdf + "' '" + out + "'";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    std::ifstream in(out);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(TablePrinter, PdfPagesAreNumberedAndRepeatTheHeadingRows) {
    TemporaryFolder folder;
    const std::string pdf = folder.Path("table.pdf");
    std::string error;
    ASSERT_TRUE(PrintTableToPdf(LargeTable(), pdf, error)) << error;
    const std::string first = PageText(pdf, 1, folder);
    const std::string second = PageText(pdf, 2, folder);
    EXPECT_NE(first.find("Page 1"), std::string::npos) << first;
    EXPECT_NE(first.find("Repeated Header"), std::string::npos);
    const std::regex firstRecord("\\b1001\\b");
    EXPECT_TRUE(std::regex_search(first, firstRecord));
    EXPECT_NE(second.find("Page 2"), std::string::npos) << second;
    EXPECT_NE(second.find("Repeated Header"), std::string::npos);
    EXPECT_FALSE(std::regex_search(second, firstRecord));
    EXPECT_NE(second.find("Title"), std::string::npos);
}

TEST(TablePrinter, ColumnsThatDoNotFitContinueOnLaterPages) {
    TemporaryFolder folder;
    const std::string pdf = folder.Path("table.pdf");
    std::string error;
    ASSERT_TRUE(PrintTableToPdf(LargeTable(), pdf, error)) << error;
    EXPECT_EQ(PageText(pdf, 1, folder).find("Last Column"), std::string::npos);
    bool lastColumnPrinted = false;
    for (int page = 2; !lastColumnPrinted; ++page) {
        const std::string text = PageText(pdf, page, folder);
        if (text.empty()) {
            break;
        }
        lastColumnPrinted = text.find("Last Column") != std::string::npos &&
                            text.find("Repeated Header") != std::string::npos &&
                            text.find(std::to_string(1000 + kColumns)) != std::string::npos;
    }
    EXPECT_TRUE(lastColumnPrinted);
}

// Each page can be read alone: every band of columns begins with the title column, and each
// printed row with its record's title cell (record * 1000 + 1).
TEST(TablePrinter, EveryColumnBandRepeatsTheTitleColumn) {
    TemporaryFolder folder;
    const std::string pdf = folder.Path("table.pdf");
    std::string error;
    ASSERT_TRUE(PrintTableToPdf(LargeTable(), pdf, error)) << error;
    const std::regex dataLine("^\\s*(\\d+)\\s+\\d+");
    int pages = 0;
    int rows = 0;
    for (std::string text; !(text = PageText(pdf, pages + 1, folder)).empty(); ++pages) {
        EXPECT_NE(text.find("Timestamp"), std::string::npos) << "page " << pages + 1;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            std::smatch match;
            if (std::regex_search(line, match, dataLine)) {
                EXPECT_EQ(std::stoi(match[1]) % 1000, 1) << "page " << pages + 1 << ": " << line;
                ++rows;
            }
        }
    }
    // Every band prints every row, and there is more than one band.
    EXPECT_EQ(rows % kDataRows, 0);
    EXPECT_GT(rows, kDataRows);
}

TEST(TablePrinter, EmptyGridPrintsOneNumberedPage) {
    TemporaryFolder folder;
    const std::string pdf = folder.Path("empty.pdf");
    std::string error;
    ASSERT_TRUE(PrintTableToPdf(GridModel{}, pdf, error)) << error;
    EXPECT_NE(PageText(pdf, 1, folder).find("Page 1"), std::string::npos);
    EXPECT_EQ(PageText(pdf, 2, folder), "");
}

TEST(TablePrinter, MissingFolderIsReportedAndWritesNothing) {
    TemporaryFolder folder;
    std::string error;
    EXPECT_FALSE(PrintTableToPdf(LargeTable(), folder.Path("none/table.pdf"), error));
    EXPECT_NE(error.find("none/table.pdf"), std::string::npos) << error;
}

} // namespace
} // namespace kestrix::table

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
