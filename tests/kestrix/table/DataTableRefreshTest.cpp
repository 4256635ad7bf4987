// RefreshTable: the table it reaches after option and unit changes is the one a full layout
// gives, and a refresh that fails leaves the table as it was.

#include "DataTableTestSupport.h"
#include "kestrix/calc/ArithmeticError.h"
#include "kestrix/shell/userLocale.h"
#include "kestrix/table/modDataTable.h"

#include <QLocale>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

namespace kestrix::table {
namespace {

using namespace testing;

// Everything views, writers and printing read of the grid, row by row.
std::string Dump(const GridModel& grid) {
    std::ostringstream out;
    out << "frozen " << grid.FrozenRows() << " title columns " << grid.TitleColumns() << '\n';
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        out << "column " << column << " width " << grid.ColumnWidth(column) << " status "
            << grid.ColumnUserValue(column) << '\n';
    }
    for (int row = 1; row <= grid.RowCount(); ++row) {
        out << "row " << row << " kind " << grid.RowUserValue(row) << ':';
        for (int column = 1; column <= grid.ColumnCount(); ++column) {
            const CellFormat& f = grid.Format(column, row);
            out << " [" << static_cast<int>(grid.Kind(column, row)) << ' '
                << grid.ShownText(column, row) << ' ' << grid.Formula(column, row)
                << " n=" << grid.Note(column, row) << " s=" << grid.Span(column, row)
                << " f=" << int{f.decimals} << ',' << f.textColor.Hex() << ',' << f.backColor.Hex()
                << ',' << static_cast<int>(f.alignment) << ',' << int{f.borders} << f.bold
                << f.flagged << ']';
        }
        out << '\n';
    }
    return out.str();
}

class DataTableRefreshTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        spec.sensorName = "Room IAQ";
        spec.locationNames = {"Hall", "Lab"};
    }

    std::string FullLayout(const TableViewOptions& options) {
        GridModel fresh;
        modDataTable::FillTable(fresh, set.get(), options, DefaultStore());
        return Dump(fresh);
    }

    RecordSetSpec spec;
    std::unique_ptr<data::clsDataRecordSet> set;
    GridModel grid;
};

TEST_F(DataTableRefreshTest, EachChangeGivesTheTableAFullLayoutGives) {
    std::vector<SampleSpec> samples(5);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i].timeStamp += static_cast<double>(i) / 1440.0;
        samples[i].locationId = static_cast<std::int32_t>(i % 2);
        samples[i].counts = {600 + static_cast<std::int32_t>(i), 350, 100};
    }
    samples[1].particleStatus = {0x01, 0, 0x04}; // notes on a few cells only
    samples[3].analogStatus = {0x02, 0};
    samples[4].sampleTimeStatus = 0x02;
    set = MakeRecordSet(spec, samples);
    ASSERT_TRUE(set);
    TableViewOptions options = AllOptionsOn();
    TableLayout layout = modDataTable::FillTable(grid, set.get(), options, DefaultStore());

    const std::vector<std::pair<const char*, std::function<void(TableViewOptions&)>>> changes{
        {"temperature unit", [](auto& o) { o.temperatureUnits = modUnits::kUnitCelsius; }},
        {"normalized counts off", [](auto& o) { o.showParticleNorm = false; }},
        {"instrument lines off", [](auto& o) { o.showInstrumentInfo = false; }},
        {"cumulative counts", [](auto& o) { o.particleDifferential = false; }},
        {"normalized counts on", [](auto& o) { o.showParticleNorm = true; }},
        {"ISO dates", [](auto& o) { o.isoDates = true; }},
        {"my short names", [](auto& o) { o.locationNameSource = kMyShortNames; }},
        {"location numbers off", [](auto& o) { o.showLocationNumbers = false; }},
        {"mass concentrations off", [](auto& o) { o.showMassConcentrations = false; }},
        {"instrument lines on", [](auto& o) { o.showInstrumentInfo = true; }},
        {"volume unit", [](auto& o) { o.sampleVolumeUnits = modUnits::kUnitLiters; }},
    };
    for (const auto& [change, apply] : changes) {
        apply(options);
        modDataTable::RefreshTable(grid, layout, set.get(), options, DefaultStore());
        EXPECT_EQ(Dump(grid), FullLayout(options)) << change;
    }
}

TEST_F(DataTableRefreshTest, OverflowKeepsTheTableAndItsLayout) {
    SampleSpec huge;
    huge.analogs = {std::numeric_limits<double>::max(), 45.0};
    set = MakeRecordSet(spec, {SampleSpec{}, huge});
    ASSERT_TRUE(set);
    TableViewOptions options = AllOptionsOn();
    options.temperatureUnits = modUnits::kUnitCelsius; // as measured: no conversion
    TableLayout layout = modDataTable::FillTable(grid, set.get(), options, DefaultStore());
    const std::string before = Dump(grid);

    TableViewOptions fahrenheit = options;
    fahrenheit.temperatureUnits = modUnits::kUnitFahrenheit;
    EXPECT_THROW(modDataTable::RefreshTable(grid, layout, set.get(), fahrenheit, DefaultStore()),
                 calc::ArithmeticError);
    EXPECT_EQ(Dump(grid), before);

    options.showParticleNorm = false;
    modDataTable::RefreshTable(grid, layout, set.get(), options, DefaultStore());
    EXPECT_EQ(Dump(grid), FullLayout(options));
}

} // namespace
} // namespace kestrix::table
