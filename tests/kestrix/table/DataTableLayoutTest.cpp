// The table laid out for no record set and for an IAQ record set with every view option on.

#include "DataTableTestSupport.h"
#include "kestrix/shell/userLocale.h"
#include "kestrix/table/modDataTable.h"

#include <QLocale>
#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrix::table {
namespace {

using namespace testing;
using ::testing::ElementsAre;
using ::testing::StartsWith;

class DataTableLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { SetUserLocale(QLocale(QLocale::English, QLocale::UnitedStates)); }

    GridModel grid;
};

std::vector<std::int32_t> RowKinds(const GridModel& grid) {
    std::vector<std::int32_t> kinds;
    for (int row = 1; row <= grid.RowCount(); ++row) {
        kinds.push_back(grid.RowUserValue(row));
    }
    return kinds;
}

TEST_F(DataTableLayoutTest, EmptyTableHasDefaultColumnsPlaceholdersAndLabelOnlyHeader) {
    modDataTable::ClearTable(grid, TableViewOptions{}, DefaultStore());

    EXPECT_THAT(TitleRow(grid, 0), ElementsAre("Timestamp", "Location", "Particle", "Sample Time",
                                               "Sample Volume", "Environmental"));
    EXPECT_THAT(TitleRow(grid, 1), ElementsAre("", "(Name)", "(Counts)", "(s)", "(ft^3)", ""));
    EXPECT_THAT(RowKinds(grid), ElementsAre(1, 1, 1, 1, 1, 2, 2, 3, 4, 5, 6, 7));
    EXPECT_EQ(grid.Text(1, 1), "Instrument Model: ");
    EXPECT_EQ(grid.Text(1, 2), "Instrument Serial #: ");
    EXPECT_EQ(grid.Text(1, 3), "Downloaded On: ");
    EXPECT_EQ(grid.Text(1, 4), "Particle Data: Differential");
    EXPECT_EQ(grid.Text(1, 5), "Data Duration: ");
    EXPECT_EQ(grid.FrozenRows(), 7);
    EXPECT_EQ(grid.Span(1, 1), grid.ColumnCount());
}

TEST_F(DataTableLayoutTest, EmptyTableStatisticsRowsAreLabelledAndEmpty) {
    modDataTable::ClearTable(grid, TableViewOptions{}, DefaultStore());

    // Without data the statistics keep their rows and labels but show no "#DIV/0!".
    const int data = FindRow(grid, kRowData);
    const int average = FindRow(grid, kRowAverage);
    EXPECT_EQ(grid.Text(1, average), "Average");
    EXPECT_EQ(grid.Span(1, average), 2);
    for (int row = data; row <= grid.RowCount(); ++row) {
        for (int column = 3; column <= grid.ColumnCount(); ++column) {
            EXPECT_EQ(grid.Kind(column, row), CellKind::Empty) << column << "," << row;
        }
    }
    EXPECT_EQ(modDataTable::CountNumericCells(grid, 3, data, data), 0);
}

TEST_F(DataTableLayoutTest, ClearTableReplacesAnEarlierTableCompletely) {
    auto set = MakeRecordSet({}, {SampleSpec{}, SampleSpec{}});
    modDataTable::FillTable(grid, set.get(), AllOptionsOn(), DefaultStore());
    modDataTable::ClearTable(grid, TableViewOptions{}, DefaultStore());

    EXPECT_EQ(CountRows(grid, kRowData), 1);
    EXPECT_EQ(grid.ColumnCount(), 6);
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        EXPECT_EQ(grid.ColumnUserValue(column), 0);
    }
}

class IaqTableTest : public DataTableLayoutTest {
protected:
    void SetUp() override {
        DataTableLayoutTest::SetUp();
        RecordSetSpec spec;
        spec.sensorName = "Room IAQ Monitor";
        SampleSpec first;
        SampleSpec second;
        second.timeStamp = first.timeStamp + 5.0 / 1440.0;
        second.counts = {900, 500, 200};
        second.analogs = {22.5, 50.0};
        set = MakeRecordSet(spec, {first, second});
        modDataTable::FillTable(grid, set.get(), AllOptionsOn(), DefaultStore());
        firstData = FindRow(grid, kRowData);
    }

    std::unique_ptr<data::clsDataRecordSet> set;
    int firstData = 0;
};

TEST_F(IaqTableTest, ColumnsAppearInOrderWithTitlesAndUnits) {
    EXPECT_THAT(TitleRow(grid, 0),
                ElementsAre("Timestamp", "Location", "Location", "0.3 micron", "0.5 micron",
                            "1.0 micron", "0.3 micron", "0.5 micron", "1.0 micron", "0.3 micron",
                            "0.5 micron", "1.0 micron", "PM0.5", "PM1.0", "TPM", "Sample Time",
                            "Sample Volume", "Temperature", "Relative Humidity"));
    EXPECT_THAT(TitleRow(grid, 1),
                ElementsAre("", "(Number)", "(Name)", "(Counts)", "(Counts)", "(Counts)",
                            "(p/ft^3)", "(p/ft^3)", "(p/ft^3)", "(ug/m^3)", "(ug/m^3)", "(ug/m^3)",
                            "(ug/m^3)", "(ug/m^3)", "(ug/m^3)", "(s)", "(ft^3)", "(F)", "(%)"));
}

TEST_F(IaqTableTest, HeaderLinesDescribeInstrumentAndDuration) {
    EXPECT_THAT(RowKinds(grid), ElementsAre(1, 1, 1, 1, 1, 1, 2, 2, 3, 3, 4, 5, 6, 7));
    EXPECT_EQ(grid.Text(1, 1), "Instrument Model: Room IAQ Monitor");
    EXPECT_EQ(grid.Text(1, 2), "Instrument Serial #: 000004711");
    EXPECT_THAT(grid.Text(1, 3), StartsWith("Downloaded On: "));
    EXPECT_EQ(grid.Text(1, 4), "Particle Data: Differential");
    EXPECT_EQ(grid.Text(1, 5), "Particle Density: 1.500 g/ml");
    EXPECT_EQ(grid.Text(1, 6), "Data Duration: 3/15/2024 12:00:00 to 3/15/2024 12:05:00");
    EXPECT_EQ(grid.FrozenRows(), 8);
}

TEST_F(IaqTableTest, IsoDatesReachTheRowsAndTheHeaderLines) {
    TableViewOptions options = AllOptionsOn();
    options.isoDates = true;
    modDataTable::FillTable(grid, set.get(), options, DefaultStore());
    EXPECT_EQ(grid.ShownText(1, FindRow(grid, kRowData)), "2024-03-15 12:00:00");
    EXPECT_EQ(grid.Text(1, 6), "Data Duration: 2024-03-15 12:00:00 to 2024-03-15 12:05:00");
}

TEST_F(IaqTableTest, ValuesAreShownWithTheirDecimals) {
    EXPECT_EQ(grid.ShownText(1, firstData), "3/15/2024 12:00:00");
    EXPECT_EQ(grid.ShownText(2, firstData), "7");
    EXPECT_EQ(grid.ShownText(3, firstData), "Location 007");
    EXPECT_EQ(grid.ShownText(4, firstData), "250");    // differential 600 - 350
    EXPECT_EQ(grid.ShownText(6, firstData), "100");    // the last channel keeps its count
    EXPECT_EQ(grid.ShownText(7, firstData), "250.0");  // 1 ft^3 sampled
    EXPECT_EQ(grid.ShownText(16, firstData), "60");    // sample time in s
    EXPECT_EQ(grid.ShownText(17, firstData), "1.000"); // 1 CFM for 1 min
    EXPECT_EQ(grid.ShownText(18, firstData), "68.0");  // 20 C in F
    EXPECT_EQ(grid.ShownText(18, firstData + 1), "72.5");
    EXPECT_EQ(grid.ShownText(19, firstData), "45.0");
}

// Mass of one sphere of the diameter in micrometres at 1.5 g/ml, in micrograms.
double ParticleMass(double diameter) {
    const double metres = diameter * 1e-6;
    return metres * metres * metres * 1.5e12 * 3.141592653 / 6.0;
}

TEST_F(IaqTableTest, MassConcentrationsMatchHandComputedValues) {
    const double perCubicMetre = 35.31466672;
    const double mc03 = 250 * perCubicMetre * ParticleMass(0.4);
    const double mc05 = 250 * perCubicMetre * ParticleMass(0.75);
    const double mc10 = 100 * perCubicMetre * ParticleMass(1.0);
    EXPECT_NEAR(grid.Value(10, firstData).number, mc03, 1e-9 * mc03);
    EXPECT_NEAR(grid.Value(12, firstData).number, mc10, 1e-9 * mc10);
    EXPECT_NEAR(grid.Value(13, firstData).number, mc03, 1e-9 * mc03);        // PM0.5
    EXPECT_NEAR(grid.Value(14, firstData).number, mc03 + mc05, 1e-9 * mc05); // PM1.0
    EXPECT_NEAR(grid.Value(15, firstData).number, mc03 + mc05 + mc10, 1e-9 * mc10);
    EXPECT_EQ(grid.Decimals(10, firstData), 2);
    EXPECT_EQ(grid.Decimals(15, firstData), 2);
}

TEST_F(IaqTableTest, StatisticsEvaluateOverTheDataRows) {
    const int average = FindRow(grid, kRowAverage);
    EXPECT_DOUBLE_EQ(grid.Value(18, average).number, (68.0 + 72.5) / 2);
    EXPECT_DOUBLE_EQ(grid.Value(18, FindRow(grid, kRowMaximum)).number, 72.5);
    // Sample deviation of 68.0 and 72.5.
    EXPECT_NEAR(grid.Value(18, FindRow(grid, kRowStandardDeviation)).number,
                std::sqrt(2 * 2.25 * 2.25), 1e-9);
    EXPECT_EQ(grid.Text(1, average), "Average");
    EXPECT_EQ(grid.Span(1, average), 3);
}

TEST_F(IaqTableTest, ColumnsAreWideEnoughForTheirTexts) {
    for (int column = 2; column <= grid.ColumnCount(); ++column) {
        EXPECT_GE(grid.ColumnWidth(column), grid.WidestTextWidth(column)) << column;
    }
    double total = 0.0;
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        total += grid.ColumnWidth(column);
    }
    EXPECT_GE(total, grid.WidestTextWidth(1));
}

} // namespace
} // namespace kestrix::table
