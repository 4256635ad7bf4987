#include "kestrix/table/writers/SaveTable.h"

#include "SampleTable.h"
#include "TemporaryFolder.h"
#include "XlsxReader.h"
#include "kestrix/shell/userLocale.h"
#include "kestrix/table/writers/XlsxPackageCheck.h"
#include "support/FileBytes.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrix::modDataTable {
namespace {

using table::testing::MakeSampleTable;
using table::testing::TemporaryFolder;

std::size_t FilesIn(const std::string& folder) {
    const auto entries = std::filesystem::directory_iterator(folder);
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

class SaveTableTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = UserLocale(); }
    void TearDown() override { SetUserLocale(saved_); }

    QLocale saved_;
    TemporaryFolder folder_;
    table::GridModel grid_ = MakeSampleTable(QLocale::c(), {4.5, 8.1}).grid;
};

TEST_F(SaveTableTest, FilterOffersXlsxFirst) {
    EXPECT_EQ(std::string(kSaveTableFilter).rfind("Excel File (*.xlsx)|*.xlsx|", 0), 0u);
}

TEST_F(SaveTableTest, NothingToDoSavesNothingAndReportsNothing) {
    for (const SaveTableResult& result :
         {SaveTable(&grid_, "", kFormatCsv), SaveTable(nullptr, folder_.Path("a.csv"), kFormatCsv),
          SaveTable(&grid_, folder_.Path("a.csv"), 3),
          SaveTable(&grid_, folder_.Path("a.csv"), -1)}) {
        EXPECT_FALSE(result.saved);
        EXPECT_FALSE(result.Failed());
    }
    EXPECT_EQ(FilesIn(folder_.Root()), 0u);
}

TEST_F(SaveTableTest, CsvFollowsTheUserLocale) {
    SetUserLocale(QLocale(QLocale::German, QLocale::Germany));
    const std::string path = folder_.Path("table.csv");
    ASSERT_TRUE(SaveTable(&grid_, path, kFormatCsv).saved);
    EXPECT_NE(test_support::ReadFileBytes(path).find("\r\nAverage;6,3;"), std::string::npos)
        << test_support::ReadFileBytes(path);

    SetUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(SaveTable(&grid_, path, kFormatCsv).saved);
    EXPECT_NE(test_support::ReadFileBytes(path).find("\r\nAverage,6.3,"), std::string::npos)
        << test_support::ReadFileBytes(path);
    EXPECT_EQ(FilesIn(folder_.Root()), 1u);
}

TEST_F(SaveTableTest, HtmlAndExcelCodes) {
    ASSERT_TRUE(SaveTable(&grid_, folder_.Path("table.html"), kFormatHtml).saved);
    EXPECT_NE(test_support::ReadFileBytes(folder_.Path("table.html")).find("<table>"),
              std::string::npos);
    ASSERT_TRUE(SaveTable(&grid_, folder_.Path("table.xlsx"), kFormatExcel).saved);
    EXPECT_EQ(table::testing::ReadXlsx(folder_.Path("table.xlsx"))["sheets"][0], "Sheet 1");
}

TEST_F(SaveTableTest, MissingFolderIsReported) {
    for (const std::int32_t code : {kFormatExcel, kFormatCsv, kFormatHtml}) {
        const SaveTableResult result = SaveTable(&grid_, folder_.Path("none/table"), code);
        EXPECT_FALSE(result.saved);
        EXPECT_TRUE(result.Failed());
        EXPECT_NE(result.message.find("none/table"), std::string::npos) << result.message;
    }
}

// A full disc, as far as this process is concerned: writes past a few bytes fail. Unlike
// folder permissions this binds the superuser too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST_F(SaveTableTest, FailedWriteLeavesTheExistingFileIntact) {
    const std::string path = folder_.Path("table.csv");
    std::ofstream(path) << "old contents";
    SaveTableResult result;
    {
        FileSizeLimit fullDisc(8);
        result = SaveTable(&grid_, path, kFormatCsv);
    }
    EXPECT_TRUE(result.Failed());
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(test_support::ReadFileBytes(path), "old contents");
    EXPECT_EQ(FilesIn(folder_.Root()), 1u);
}

// Rows of distinct numbers, so that the streamed rows take several times the workbook's size.
table::GridModel NumberRows(int columns, int rows) {
    table::GridModel grid;
    grid.SetColumnCount(columns);
    for (int row = 1; row <= rows; ++row) {
        grid.AddRow();
        for (int column = 1; column <= columns; ++column) {
            grid.SetNumber(column, row, row * 1000.0 + column / 7.0, 3);
        }
    }
    return grid;
}

// The spreadsheet library stages the rows, and then the sheet, in temporary files whose writes
// it does not check; the limits cut the rows short, the sheet short, and every file.
TEST_F(SaveTableTest, AFullDiscWhileAnExcelFileIsWrittenIsReportedAndKeepsTheOldFile) {
    const table::GridModel grid = NumberRows(20, 2000);
    const std::string path = folder_.Path("table.xlsx");
    ASSERT_TRUE(SaveTable(&grid, path, kFormatExcel).saved);
    const std::optional<table::PartEnding> sheet =
        table::ReadPartEnding(path, table::kXlsxSheetPart, 0);
    ASSERT_TRUE(sheet.has_value());
    const auto workbook = std::filesystem::file_size(path);
    ASSERT_LT(workbook * 2, sheet->size);
    for (const rlim_t limit : {rlim_t(workbook * 2), rlim_t(sheet->size - 10), rlim_t{8}}) {
        std::ofstream(path) << "old contents";
        SaveTableResult result;
        {
            FileSizeLimit fullDisc(limit);
            result = SaveTable(&grid, path, kFormatExcel);
        }
        EXPECT_TRUE(result.Failed()) << limit;
        EXPECT_TRUE(test_support::ReadFileBytes(path) == "old contents") << limit;
        EXPECT_EQ(FilesIn(folder_.Root()), 1u) << limit;
    }
}

TEST_F(SaveTableTest, FailedRenameLeavesNoTemporaryFileBehind) {
    const std::string path = folder_.Path("table.xlsx");
    std::filesystem::create_directory(path);
    std::ofstream(path + "/inside") << "kept";
    const SaveTableResult result = SaveTable(&grid_, path, kFormatExcel);
    EXPECT_TRUE(result.Failed());
    EXPECT_EQ(test_support::ReadFileBytes(path + "/inside"), "kept");
    EXPECT_EQ(FilesIn(folder_.Root()), 1u);
}

TEST_F(SaveTableTest, ReplacesAnExistingFileWhole) {
    const std::string path = folder_.Path("table.csv");
    std::ofstream(path) << std::string(100000, '~');
    ASSERT_TRUE(SaveTable(&grid_, path, kFormatCsv).saved);
    EXPECT_EQ(test_support::ReadFileBytes(path).find('~'), std::string::npos);
    EXPECT_EQ(FilesIn(folder_.Root()), 1u);
}

} // namespace
} // namespace kestrix::modDataTable
