// Column choice, location names, status looks and the statistics formulas of the data table.

#include "DataTableTestSupport.h"
#include "kestrix/calc/ArithmeticError.h"
#include "kestrix/data/recordStatus.h"
#include "kestrix/shell/userLocale.h"
#include "kestrix/table/modDataTable.h"

#include <QLocale>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>

namespace kestrix::table {
namespace {

using namespace testing;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using ::testing::StartsWith;

constexpr Rgb kMagenta{255, 0, 255};

class DataTableRulesTest : public ::testing::Test {
protected:
    void SetUp() override { SetUserLocale(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void Fill(const RecordSetSpec& spec, const std::vector<SampleSpec>& samples,
              const TableViewOptions& options) {
        set = MakeRecordSet(spec, samples);
        ASSERT_TRUE(set);
        modDataTable::FillTable(grid, set.get(), options, DefaultStore());
        firstData = FindRow(grid, kRowData);
    }

    GridModel grid;
    std::unique_ptr<data::clsDataRecordSet> set;
    int firstData = 0;
};

// ---- Which columns appear

TEST_F(DataTableRulesTest, NonIaqInstrumentNeverShowsMassColumnsNorDensity) {
    Fill({}, {SampleSpec{}}, AllOptionsOn());
    EXPECT_THAT(TitleRow(grid, 1), Not(Contains("(ug/m^3)")));
    for (int row = 1; row < FindRow(grid, kRowColumnTitle); ++row) {
        EXPECT_THAT(grid.Text(1, row), Not(StartsWith("Particle Density")));
    }
}

TEST_F(DataTableRulesTest, LowerCaseIaqCountsAsIaq) {
    RecordSetSpec spec;
    spec.sensorName = "mini-iaq";
    Fill(spec, {SampleSpec{}}, AllOptionsOn());
    EXPECT_NE(FindColumn(grid, "TPM", "(ug/m^3)"), 0);
}

TEST_F(DataTableRulesTest, FiveChannelsGiveFourPmColumnsAndOneTotal) {
    RecordSetSpec spec;
    spec.sensorName = "IAQ";
    spec.particleTypes = {"0.3", "0.5", "1.0", "2.5", "10"};
    SampleSpec sample;
    sample.counts = {500, 400, 300, 200, 100};
    TableViewOptions options;
    options.showParticleRaw = false;
    options.showMassConcentrations = false;
    options.showSampleTime = false;
    options.showSampleVolume = false;
    options.showEnvironmentals = false;
    options.showLocationNames = false;
    Fill(spec, {sample}, options);
    EXPECT_THAT(TitleRow(grid, 0),
                ElementsAre("Timestamp", "PM0.5", "PM1.0", "PM2.5", "PM10.0", "TPM"));
}

TEST_F(DataTableRulesTest, UnknownSampleTimeUnitKeepsItsTextAndValues) {
    RecordSetSpec spec;
    spec.sampleTimeUnits = "sec";
    TableViewOptions options;
    options.sampleTimeUnits = modUnits::kUnitMinutes;
    Fill(spec, {SampleSpec{}}, options);
    const int column = FindColumn(grid, "Sample Time", "sec");
    ASSERT_NE(column, 0);
    EXPECT_DOUBLE_EQ(grid.Value(column, firstData).number, 60.0);
}

TEST_F(DataTableRulesTest, ChosenUnitsConvertSampleTimeAndVolume) {
    TableViewOptions options;
    options.sampleTimeUnits = modUnits::kUnitMinutes;
    options.sampleVolumeUnits = modUnits::kUnitLiters;
    Fill({}, {SampleSpec{}}, options);
    EXPECT_EQ(grid.ShownText(FindColumn(grid, "Sample Time", "(m)"), firstData), "1.000");
    EXPECT_EQ(grid.ShownText(FindColumn(grid, "Sample Volume", "(L)"), firstData), "28.3");
}

TEST_F(DataTableRulesTest, OnlyTimeAndLocationColumnsGetNoStatisticsRows) {
    TableViewOptions options;
    options.showLocationNumbers = true;
    options.showParticleRaw = false;
    options.showSampleTime = false;
    options.showSampleVolume = false;
    options.showEnvironmentals = false;
    Fill({}, {SampleSpec{}}, options);
    EXPECT_EQ(FindRow(grid, kRowAverage), 0);
    EXPECT_EQ(grid.RowUserValue(grid.RowCount()), kRowData);
}

TEST_F(DataTableRulesTest, DisabledChannelLeavesItsParticleCellsEmpty) {
    RecordSetSpec spec;
    spec.sensorName = "IAQ";
    SampleSpec sample;
    sample.particleEnabled = {true, false, true};
    Fill(spec, {sample}, AllOptionsOn());
    for (const char* caption : {"(Counts)", "(p/ft^3)", "(ug/m^3)"}) {
        const int column = FindColumn(grid, "0.5 micron", caption);
        ASSERT_NE(column, 0) << caption;
        EXPECT_EQ(grid.Kind(column, firstData), CellKind::Empty) << caption;
        EXPECT_EQ(grid.Kind(column - 1, firstData), CellKind::Number) << caption;
    }
}

// ---- Location names

class LocationSourceTest : public DataTableRulesTest {
protected:
    std::string NameShown(std::int32_t source, std::vector<std::string> instrumentNames) {
        RecordSetSpec spec;
        spec.locationNames = std::move(instrumentNames);
        TableViewOptions options;
        options.locationNameSource = source;
        Fill(spec, {SampleSpec{}}, options);
        return grid.ShownText(FindColumn(grid, "Location", "(Name)"), firstData);
    }
};

TEST_F(LocationSourceTest, InstrumentNamesComeFromTheRecordSet) {
    std::vector<std::string> names(10, "Spare");
    names[7] = "Clean Room";
    EXPECT_EQ(NameShown(kInstrumentNames, names), "Clean Room");
}

TEST_F(LocationSourceTest, InstrumentSourceWithoutNamesFallsBackToMyLongNames) {
    EXPECT_EQ(NameShown(kInstrumentNames, {}), "Location 007");
}

TEST_F(LocationSourceTest, MyLongAndShortNames) {
    const std::vector<std::string> names(10, "Spare");
    EXPECT_EQ(NameShown(kMyLongNames, names), "Location 007");
    EXPECT_EQ(NameShown(kMyShortNames, names), "LOC007");
}

TEST_F(LocationSourceTest, UnknownSourceLeavesTheCellEmpty) {
    EXPECT_EQ(NameShown(5, {"A"}), "");
}

// ---- Status looks

TEST_F(DataTableRulesTest, StatusTextListsFaultsMostSeriousFirst) {
    EXPECT_EQ(recordStatus::GetStatusText(0), "");
    EXPECT_EQ(recordStatus::GetStatusText(0x09),
              "- Instrument malfunctioned.\r\n- Bad laser voltage.");
    EXPECT_EQ(recordStatus::GetStatusText(0x5F),
              "- Instrument malfunctioned.\r\n- Bad laser voltage.\r\n- Bad flow rate.\r\n"
              "- Instrument data overflowed.\r\n- Pirrow device malfunctioned.\r\n"
              "- Data exceeded instrument's threshold.");
}

TEST_F(DataTableRulesTest, FaultyParticleCellsAreMagentaWithNote) {
    SampleSpec faulty;
    faulty.particleStatus = {0x09, 0, 0};
    Fill({}, {SampleSpec{}, faulty}, TableViewOptions{});
    const int column = FindColumn(grid, "0.3 micron", "(Counts)");
    const int row = firstData + 1;
    EXPECT_EQ(grid.Format(column, row).textColor, kMagenta);
    EXPECT_TRUE(grid.Format(column, row).flagged);
    EXPECT_EQ(grid.Note(column, row), "- Instrument malfunctioned.\r\n- Bad laser voltage.");
    EXPECT_EQ(grid.Note(column, firstData), "");
    EXPECT_EQ(grid.ColumnUserValue(column), 0x09);
    EXPECT_EQ(grid.Note(column + 1, row), "");
}

TEST_F(DataTableRulesTest, LaserTroubleAddsOneSummaryRow) {
    SampleSpec faulty;
    faulty.particleStatus = {0x01, 0x01, 0x01};
    faulty.sampleTimeStatus = 0x01;
    faulty.analogStatus = {0x01, 0};
    Fill({}, {SampleSpec{}, faulty}, TableViewOptions{});
    const int laser = FindRow(grid, kRowLaserStatus);
    ASSERT_NE(laser, 0);
    EXPECT_EQ(grid.Text(1, laser), "Laser Status");
    EXPECT_EQ(CountRows(grid, kRowLaserStatus), 1);
    EXPECT_EQ(laser, grid.RowCount());
    const int particle = FindColumn(grid, "0.3 micron", "(Counts)");
    EXPECT_EQ(grid.Text(particle, laser), "Bad");
    EXPECT_EQ(grid.Format(particle, laser).textColor, kMagenta);
    EXPECT_EQ(grid.Note(particle, laser), "- Bad laser voltage.");
    for (const auto& [title, caption] :
         {std::pair{"Sample Time", "(s)"}, {"Sample Volume", "(ft^3)"}, {"Temperature", "(F)"}}) {
        const int column = FindColumn(grid, title, caption);
        EXPECT_EQ(grid.Text(column, laser), "NA") << title;
        EXPECT_EQ(grid.Note(column, laser), "") << title;
        EXPECT_EQ(grid.ColumnUserValue(column), 0) << title;
    }
}

TEST_F(DataTableRulesTest, SummaryRowsFollowTheFirstFaultMetFromTheRight) {
    SampleSpec faulty;
    faulty.particleStatus = {0x10, 0, 0x04};
    Fill({}, {faulty}, TableViewOptions{});
    const int overflow = FindRow(grid, kRowInstrumentOverflow);
    const int threshold = FindRow(grid, kRowThresholdExceeded);
    ASSERT_NE(overflow, 0);
    EXPECT_EQ(threshold, overflow + 1);
    const int column = FindColumn(grid, "0.5 micron", "(Counts)");
    EXPECT_EQ(grid.Text(column, overflow), "No");
    EXPECT_EQ(grid.Text(column + 1, overflow), "Yes");
}

TEST_F(DataTableRulesTest, StatisticsCellsTakeTheColumnStatusLook) {
    SampleSpec faulty;
    faulty.particleStatus = {0x08, 0, 0};
    Fill({}, {SampleSpec{}, faulty}, TableViewOptions{});
    const int column = FindColumn(grid, "0.3 micron", "(Counts)");
    const int average = FindRow(grid, kRowAverage);
    EXPECT_EQ(grid.Format(column, average).textColor, kMagenta);
    EXPECT_EQ(grid.Note(column, average), "- Instrument malfunctioned.");
    EXPECT_EQ(grid.Format(column + 1, average).textColor, kBlack);
    EXPECT_FALSE(grid.Format(column + 1, average).flagged);
}

// ---- Statistics formulas

std::vector<SampleSpec> Samples(int count) {
    std::vector<SampleSpec> samples(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        samples[static_cast<std::size_t>(i)].counts = {100 * (i + 1), 0, 0};
    }
    return samples;
}

TEST_F(DataTableRulesTest, FormulasKeepTheirCellsAfterHeaderLinesAreInserted) {
    Fill({}, Samples(10), TableViewOptions{});
    const int headerLines = CountRows(grid, kRowHeaderLine);
    ASSERT_EQ(headerLines, 5);
    const int first = 3 + headerLines;
    const int last = 12 + headerLines;
    const int average = last + 1;
    ASSERT_EQ(FindRow(grid, kRowAverage), average);
    const std::string range = "#" + std::to_string(first) + ":#" + std::to_string(last);
    const int column = FindColumn(grid, "0.3 micron", "(Counts)");
    EXPECT_EQ(grid.Formula(column, average), "AVERAGE(" + range + ")");
    EXPECT_EQ(grid.Formula(column, average + 1), "MAX(" + range + ")");
    EXPECT_EQ(grid.Formula(column, average + 2), "MIN(" + range + ")");
    EXPECT_EQ(grid.Formula(column, average + 3), "SQRT(ABS((SUMSQ(" + range + ") - (#" +
                                                     std::to_string(average) + " * SUM(" + range +
                                                     ")))/9))");
    EXPECT_DOUBLE_EQ(grid.Value(column, average).number, 550.0);
    EXPECT_DOUBLE_EQ(grid.Value(column, average + 1).number, 1000.0);
    EXPECT_NEAR(grid.Value(column, average + 3).number, 302.76503540974917, 1e-9);
}

TEST_F(DataTableRulesTest, RawCountsShowAverageAndDeviationWithOneDecimal) {
    Fill({}, Samples(3), TableViewOptions{});
    const int column = FindColumn(grid, "0.3 micron", "(Counts)");
    const int average = FindRow(grid, kRowAverage);
    EXPECT_EQ(grid.Decimals(column, average), 1);
    EXPECT_EQ(grid.Decimals(column, average + 1), 0);
    EXPECT_EQ(grid.Decimals(column, average + 2), 0);
    EXPECT_EQ(grid.Decimals(column, average + 3), 1);
    EXPECT_EQ(grid.ShownText(column, average), "200.0");
}

TEST_F(DataTableRulesTest, SingleNumericCellHasDeviationZero) {
    Fill({}, Samples(1), TableViewOptions{});
    const int column = FindColumn(grid, "0.3 micron", "(Counts)");
    EXPECT_EQ(grid.Formula(column, FindRow(grid, kRowStandardDeviation)), "0");
}

// ---- Failures

TEST_F(DataTableRulesTest, OverflowKeepsThePreviousTable) {
    Fill({}, Samples(2), TableViewOptions{});
    const int rowsBefore = grid.RowCount();
    const std::string firstTitle = TitleRow(grid, 0).at(2);
    SampleSpec huge;
    huge.analogs = {std::numeric_limits<double>::max(), 0.0};
    auto bad = MakeRecordSet({}, {huge});
    EXPECT_THROW(modDataTable::FillTable(grid, bad.get(), TableViewOptions{}, DefaultStore()),
                 calc::ArithmeticError);
    EXPECT_EQ(grid.RowCount(), rowsBefore);
    EXPECT_EQ(TitleRow(grid, 0).at(2), firstTitle);
    EXPECT_TRUE(grid.Redraw());
}

TEST_F(DataTableRulesTest, MoreColumnsThanTheGridHoldsKeepThePreviousTable) {
    Fill({}, Samples(2), TableViewOptions{});
    const int rowsBefore = grid.RowCount();
    const int columnsBefore = grid.ColumnCount();
    RecordSetSpec wide;
    wide.particleTypes.assign(GridModel::kMaxColumns, "0.3");
    SampleSpec sample;
    sample.counts.assign(GridModel::kMaxColumns, 1);
    auto bad = MakeRecordSet(wide, {sample});
    EXPECT_THROW(modDataTable::FillTable(grid, bad.get(), TableViewOptions{}, DefaultStore()),
                 GridRefusal);
    EXPECT_EQ(grid.RowCount(), rowsBefore);
    EXPECT_EQ(grid.ColumnCount(), columnsBefore);
}

TEST_F(DataTableRulesTest, ViewOptionsComeFromTheStore) {
    const TableViewOptions options = ReadTableViewOptions(DefaultStore());
    const TableViewOptions defaults;
    EXPECT_EQ(options.particleNormUnits, defaults.particleNormUnits);
    EXPECT_EQ(options.temperatureUnits, defaults.temperatureUnits);
    EXPECT_EQ(options.showLocationNumbers, defaults.showLocationNumbers);
    EXPECT_EQ(options.showParticleNorm, defaults.showParticleNorm);
    EXPECT_EQ(options.showMassConcentrations, defaults.showMassConcentrations);
    EXPECT_EQ(options.particleDifferential, defaults.particleDifferential);
}

} // namespace
} // namespace kestrix::table
