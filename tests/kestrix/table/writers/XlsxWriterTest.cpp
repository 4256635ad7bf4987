#include "kestrix/table/writers/XlsxWriter.h"

#include "SampleTable.h"
#include "XlsxReader.h"
#include "kestrix/table/writers/TimestampCells.h"
#include "kestrix/table/writers/XlsxPackageCheck.h"
#include "support/FileBytes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::table {
namespace {

using testing::MakeSampleTable;
using testing::ReadXlsx;
using testing::SampleTable;
using testing::TemporaryFolder;

double SampleStdev(const std::vector<double>& values) {
    const double mean =
        std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
    double squares = 0.0;
    for (const double v : values) {
        squares += (v - mean) * (v - mean);
    }
    return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

class XlsxWriterTest : public ::testing::Test {
protected:
    nlohmann::json Written(const GridModel& grid, const QLocale& locale = QLocale::c()) {
        const std::string path = folder_.Path("table.xlsx");
        std::string error;
        EXPECT_TRUE(WriteXlsx(grid, path, {locale}, error)) << error;
        return ReadXlsx(path);
    }

    TemporaryFolder folder_;
};

TEST_F(XlsxWriterTest, OneSheetNamedSheet1WithTheTitleRowsFrozen) {
    const nlohmann::json book = Written(MakeSampleTable(QLocale::c(), {4, 8, 15}).grid);
    EXPECT_EQ(book["sheets"], nlohmann::json::array({"Sheet 1"}));
    EXPECT_EQ(book["freeze"], "A4");
}

TEST_F(XlsxWriterTest, SpansAreCentredAcrossTheirColumnsInsteadOfMerged) {
    const nlohmann::json book = Written(MakeSampleTable(QLocale::c(), {4, 8, 15}).grid);
    EXPECT_EQ(book["merged"], nlohmann::json::array());
    const nlohmann::json& cells = book["cells"];
    EXPECT_EQ(cells["A1"]["value"], testing::kHeaderText);
    for (const char* name : {"A1", "B1", "C1"}) {
        EXPECT_EQ(cells[name]["align"], "centerContinuous") << name;
        EXPECT_EQ(cells[name]["fill"], "FFD4D0C8") << name;
    }
    EXPECT_TRUE(cells["B1"]["value"].is_null());
    EXPECT_TRUE(cells["C1"]["value"].is_null());
    EXPECT_TRUE(cells["A2"]["align"].is_null());
}

TEST_F(XlsxWriterTest, ABorderedSpanIsOutlinedAsOneCell) {
    GridModel grid;
    grid.SetColumnCount(4);
    grid.AddRow();
    grid.SetText(1, 1, "Average");
    grid.SetBorders(1, 1, kBorderAll);
    grid.SetSpan(1, 1, 3);
    grid.SetText(4, 1, "next");
    const nlohmann::json cells = Written(grid)["cells"];
    EXPECT_EQ(cells["A1"]["borders"], "LTB");
    EXPECT_EQ(cells["B1"]["borders"], "TB");
    EXPECT_EQ(cells["C1"]["borders"], "TRB");
    EXPECT_EQ(cells["D1"]["borders"], "");
    EXPECT_TRUE(cells["D1"]["align"].is_null());
}

TEST_F(XlsxWriterTest, CellsHoldTheirTextsAndNumbers) {
    const nlohmann::json cells = Written(MakeSampleTable(QLocale::c(), {4, 8, 15}).grid)["cells"];
    EXPECT_EQ(cells["A1"]["value"], testing::kHeaderText);
    EXPECT_EQ(cells["B2"]["value"], "0.3 micron");
    EXPECT_EQ(cells["C3"]["value"], "(C)");
    EXPECT_EQ(cells["B5"]["value"], 8.0);
    EXPECT_EQ(cells["B5"]["number_format"], "0");
    EXPECT_EQ(cells["C5"]["value"], 22.25);
    EXPECT_EQ(cells["C5"]["number_format"], "0.0");
    EXPECT_EQ(cells["A7"]["value"], "Average");
}

TEST_F(XlsxWriterTest, FormulasAreA1StyleAfterInsertedRowsWithTheirResults) {
    const nlohmann::json cells = Written(MakeSampleTable(QLocale::c(), {4, 8, 15}).grid)["cells"];
    EXPECT_EQ(cells["B7"]["value"], "=AVERAGE(B4:B6)");
    EXPECT_DOUBLE_EQ(cells["B7"]["cached"].get<double>(), 9.0);
    EXPECT_EQ(cells["C8"]["value"], "=MAX(C4:C6)");
    EXPECT_DOUBLE_EQ(cells["C8"]["cached"].get<double>(), 23.25);
}

TEST_F(XlsxWriterTest, StandardDeviationRowUsesStdevInTheFileOnly) {
    SampleTable table = MakeSampleTable(QLocale::c(), {4, 8, 15});
    const std::string before = table.grid.Formula(2, table.stdevRow);
    const nlohmann::json cells = Written(table.grid)["cells"];
    EXPECT_EQ(cells["B9"]["value"], "=STDEV(B4:B6)");
    EXPECT_EQ(cells["C9"]["value"], "=STDEV(C4:C6)");
    EXPECT_NEAR(cells["B9"]["cached"].get<double>(), SampleStdev({4, 8, 15}), 1e-12);
    EXPECT_EQ(table.grid.Formula(2, table.stdevRow), before);
    EXPECT_EQ(before.rfind("SQRT(", 0), 0u);
}

TEST_F(XlsxWriterTest, WithoutDataRowsNothingIsSwapped) {
    SampleTable table = MakeSampleTable(QLocale::c(), {4, 8, 15});
    for (int row = table.firstDataRow; row <= table.lastDataRow; ++row) {
        table.grid.SetRowUserValue(row, 0);
    }
    const nlohmann::json cells = Written(table.grid)["cells"];
    EXPECT_EQ(cells["B9"]["value"].get<std::string>().rfind("=SQRT(ABS((SUMSQ(B4:B6)", 0), 0u);
}

TEST_F(XlsxWriterTest, FormulaErrorsKeepTheirErrorText) {
    GridModel grid;
    grid.SetColumnCount(1);
    grid.AddRow();
    grid.SetFormula(1, 1, "AVERAGE(#2:#2)", 1);
    grid.AddRow();
    const nlohmann::json cells = Written(grid)["cells"];
    EXPECT_EQ(cells["A1"]["value"], "=AVERAGE(A2:A2)");
    EXPECT_EQ(cells["A1"]["cached"], "#DIV/0!");
}

TEST_F(XlsxWriterTest, NotesBecomeCommentsAndColoursStay) {
    const nlohmann::json book = Written(MakeSampleTable(QLocale::c(), {4, 8, 15}).grid);
    // XML readers turn the note's CR LF into one line feed.
    EXPECT_EQ(book["comments"]["B4"], "- Instrument malfunctioned.\n- Bad laser voltage.");
    EXPECT_EQ(book["comments"].size(), 1u);
    EXPECT_EQ(book["cells"]["B4"]["font_color"], "FFFF00FF");
    EXPECT_EQ(book["cells"]["B2"]["fill"], "FFD4D0C8");
}

TEST_F(XlsxWriterTest, TimeStampsAreDateTimesWithAFourDigitYear) {
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany)}) {
        const nlohmann::json cells = Written(MakeSampleTable(locale, {4, 8}).grid, locale)["cells"];
        EXPECT_TRUE(cells["A5"]["is_date"].get<bool>()) << cells["A5"];
        EXPECT_EQ(cells["A5"]["value"], "2024-03-09T14:05:01");
        EXPECT_NE(cells["A5"]["number_format"].get<std::string>().find("yyyy"), std::string::npos);
        EXPECT_EQ(cells["A2"]["value"], "Date and Time");
    }
}

TEST_F(XlsxWriterTest, TextThatIsNoTimeStampStaysText) {
    SampleTable table = MakeSampleTable(QLocale::c(), {4, 8});
    table.grid.SetText(1, table.firstDataRow, "not a date");
    const nlohmann::json cells = Written(table.grid)["cells"];
    EXPECT_EQ(cells["A4"]["value"], "not a date");
    EXPECT_FALSE(cells["A4"]["is_date"].get<bool>());
}

TEST_F(XlsxWriterTest, UnwritablePathIsReported) {
    std::string error;
    EXPECT_FALSE(WriteXlsx(GridModel{}, folder_.Path("missing/table.xlsx"), {}, error));
    EXPECT_FALSE(error.empty());
}

TEST_F(XlsxWriterTest, TheStreamedRowsLeaveNoTemporaryFileBeside) {
    const GridModel grid = MakeSampleTable(QLocale::c(), {4, 8, 15}).grid;
    std::string error;
    ASSERT_TRUE(WriteXlsx(grid, folder_.Path("table.xlsx"), {}, error)) << error;
    // A folder in the workbook's place: the rows are streamed, then the workbook cannot open.
    std::filesystem::create_directory(folder_.Path("folder.xlsx"));
    EXPECT_FALSE(WriteXlsx(grid, folder_.Path("folder.xlsx"), {}, error));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Root())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder.xlsx", "table.xlsx"}));
}

TEST_F(XlsxWriterTest, TheSheetPartIsReadBackToItsEndAndADamagedPackageIsNot) {
    std::string error;
    const std::string path = folder_.Path("table.xlsx");
    ASSERT_TRUE(WriteXlsx(GridModel{}, path, {}, error)) << error;
    const std::optional<PartEnding> sheet = ReadPartEnding(path, kXlsxSheetPart, 12);
    ASSERT_TRUE(sheet.has_value());
    EXPECT_EQ(sheet->tail, "</worksheet>");
    EXPECT_FALSE(ReadPartEnding(path, "xl/none.xml", 12).has_value());

    std::string bytes = test_support::ReadFileBytes(path);
    const std::size_t part = bytes.find(kXlsxSheetPart);
    bytes.replace(part + kXlsxSheetPart.size(), 40, 40, '\xff');
    test_support::WriteFileBytes(folder_.Path("damaged.xlsx"), bytes);
    test_support::WriteFileBytes(folder_.Path("text.xlsx"), std::string(100, 'P'));
    for (const char* name : {"damaged.xlsx", "text.xlsx", "missing.xlsx"}) {
        EXPECT_FALSE(ReadPartEnding(folder_.Path(name), kXlsxSheetPart, 12).has_value()) << name;
    }
}

TEST(TimestampCells, TwoDigitYearsCountFrom1970) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    ASSERT_EQ(us.dateFormat(QLocale::ShortFormat), "M/d/yy");
    EXPECT_DOUBLE_EQ(*ParseTimestampText("3/9/24 14:05:00", us),
                     base::MakeDateTime(2024, 3, 9, 14, 5, 0));
    EXPECT_DOUBLE_EQ(*ParseTimestampText("12/31/70 00:00:00", us),
                     base::MakeDateTime(1970, 12, 31));
    for (const char* text : {"3/9/24", "", " 14:05:00", "3/9/24 24:05:00", "3/9/24T14:05:00"}) {
        EXPECT_FALSE(ParseTimestampText(text, us).has_value()) << text;
    }
    EXPECT_EQ(TimestampNumberFormat(us), "m/d/yyyy hh:mm:ss");
    EXPECT_EQ(TimestampNumberFormat(QLocale(QLocale::German, QLocale::Germany)),
              "dd.mm.yyyy hh:mm:ss");
}

// The process's time zone for the lifetime of the object.
class TimeZoneSetting {
public:
    explicit TimeZoneSetting(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            saved_ = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZoneSetting() {
        if (saved_) {
            ::setenv("TZ", saved_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    TimeZoneSetting(const TimeZoneSetting&) = delete;
    TimeZoneSetting& operator=(const TimeZoneSetting&) = delete;

private:
    std::optional<std::string> saved_;
};

// Instrument clocks keep no daylight-saving time: an hour the local zone skips is a time too.
TEST(TimestampCells, AnHourTheLocalZoneSkipsStaysATime) {
    const TimeZoneSetting newYork("America/New_York");
    const std::optional<base::DateTime> stamp =
        ParseTimestampText("10 Mar 2024 02:30:00", QLocale::c());
    ASSERT_TRUE(stamp.has_value());
    EXPECT_DOUBLE_EQ(*stamp, base::MakeDateTime(2024, 3, 10, 2, 30, 0));
}

} // namespace
} // namespace kestrix::table
