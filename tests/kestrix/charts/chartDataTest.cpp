#include "kestrix/charts/chartData.h"

#include "kestrix/iaq/IaqExample.h"
#include "kestrix/table/DataTableTestSupport.h"
#include "kestrix/table/modDataTable.h"
#include "kestrix/table/tableRowKinds.h"

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrix::charts {
namespace {

using table::testing::DefaultStore;
using table::testing::MakeRecordSet;
using table::testing::RecordSetSpec;
using table::testing::SampleSpec;

std::unique_ptr<data::clsDataRecordSet> ThreeSamples(std::vector<std::int32_t> thresholds = {}) {
    RecordSetSpec spec;
    spec.analogTypes = {"TEMP", "RH", "AIRV"};
    spec.analogUnits = {"C", "%", "ft/m"};
    spec.locationNames = {"", "", "", "", "", "", "", "LAB", ""};
    spec.thresholds = std::move(thresholds);
    std::vector<SampleSpec> samples(3);
    samples[0].counts = {600, 350, 100};
    samples[0].analogs = {20.0, 45.0, 80.0};
    samples[1].locationId = 8;
    samples[1].sampleTime = 30;
    samples[1].counts = {900, 400, 10};
    samples[1].particleEnabled = {true, false, true};
    samples[1].analogs = {21.5, 47.0, 90.0};
    samples[2].counts = {50, 50, 0};
    samples[2].analogs = {19.0, 44.0, 70.0};
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i].timeStamp += static_cast<double>(i) / 1440.0;
    }
    return MakeRecordSet(spec, samples);
}

table::TableViewOptions NormalizedCumulativeMetric() {
    table::TableViewOptions options;
    options.showParticleNorm = true;
    options.particleNormUnits = modUnits::kUnitParticlesPerCubicMeter;
    options.particleDifferential = false;
    options.temperatureUnits = modUnits::kUnitKelvin;
    options.airVelocityUnits = modUnits::kUnitMetersPerSecond;
    return options;
}

// The table's cell for the series in the record's row; NaN for an empty cell.
double TableValue(const table::GridModel& grid, const ChartSeries& series, int record) {
    const int column = table::testing::FindColumn(grid, series.title, series.units);
    const int row = table::testing::FindRow(grid, table::kRowData) + record;
    EXPECT_GT(column, 0) << series.title << " " << series.units;
    return grid.HoldsNumber(column, row) ? grid.Value(column, row).number : std::nan("");
}

TEST(ChartData, SeriesHoldWhatTheTableShows) {
    for (const auto& options : {table::TableViewOptions{}, NormalizedCumulativeMetric()}) {
        auto set = ThreeSamples();
        table::GridModel grid;
        modDataTable::FillTable(grid, set.get(), options, DefaultStore());
        const ChartData data = BuildChartData(*set, options);
        ASSERT_EQ(data.counts.size(), 3U);
        ASSERT_EQ(data.environmental.size(), 3U);
        for (const auto* list : {&data.counts, &data.environmental}) {
            for (const ChartSeries& series : *list) {
                ASSERT_EQ(series.values.size(), 3U);
                for (int record = 0; record < 3; ++record) {
                    const double table = TableValue(grid, series, record);
                    const double chart = series.values[static_cast<std::size_t>(record)];
                    EXPECT_TRUE(std::isnan(table) ? std::isnan(chart) : chart == table)
                        << series.title << " " << series.units << " record " << record << ": "
                        << chart << " vs " << table;
                }
            }
        }
    }
}

TEST(ChartData, IaqDataAddsPm2_5AndPm10AsTheTableShowsThem) {
    auto set = iaq::testing::MakeIaqRecordSet({{2, 3, 4000}});
    const table::TableViewOptions options;
    table::GridModel grid;
    modDataTable::FillTable(grid, set.get(), options, DefaultStore());
    const ChartData data = BuildChartData(*set, options);
    ASSERT_EQ(data.particulateMatter.size(), 2U);
    EXPECT_EQ(data.particulateMatter[0].pollutant, iaq::Pollutant::Pm2_5);
    EXPECT_EQ(data.particulateMatter[1].pollutant, iaq::Pollutant::Pm10);
    for (const ChartSeries& series : data.particulateMatter) {
        ASSERT_EQ(series.values.size(), data.times.size());
        for (std::size_t record = 0; record < series.values.size(); ++record) {
            EXPECT_EQ(series.values[record], TableValue(grid, series, static_cast<int>(record)));
        }
    }
    EXPECT_TRUE(BuildChartData(*ThreeSamples(), options).particulateMatter.empty());
}

TEST(ChartData, OneLocationKeepsOnlyItsRecords) {
    auto set = ThreeSamples();
    const table::TableViewOptions options;
    const ChartData all = BuildChartData(*set, options);
    const ChartData lab = ForLocation(all, 7);
    EXPECT_THAT(lab.recordRows, ::testing::ElementsAre(0, 2));
    EXPECT_THAT(lab.locations, ::testing::ElementsAre(7, 7));
    EXPECT_THAT(lab.times, ::testing::ElementsAre(all.times[0], all.times[2]));
    EXPECT_THAT(
        lab.environmental[0].values,
        ::testing::ElementsAre(all.environmental[0].values[0], all.environmental[0].values[2]));
    EXPECT_TRUE(ForLocation(all, 99).environmental[0].values.empty());

    const auto choices = LocationChoices(all, *set, options, DefaultStore());
    ASSERT_EQ(choices.size(), 2U);
    EXPECT_EQ(choices[0].id, 7);
    EXPECT_EQ(choices[0].name, "LAB");
    EXPECT_EQ(choices[1].id, 8);
    EXPECT_EQ(choices[1].name, "LOC008");
}

TEST(ChartData, AlarmThresholdsOnlyBesideRawCumulativeCounts) {
    table::TableViewOptions differential;
    table::TableViewOptions cumulative;
    cumulative.particleDifferential = false;
    const struct {
        const char* name;
        table::TableViewOptions options;
        std::optional<double> first;
    } cases[] = {{"raw cumulative", cumulative, 500.0},
                 {"raw differential", differential, std::nullopt},
                 {"normalized", NormalizedCumulativeMetric(), std::nullopt}};
    for (const auto& c : cases) {
        auto set = ThreeSamples({500, 0, 0});
        const ChartData data = BuildChartData(*set, c.options);
        EXPECT_EQ(data.counts[0].threshold, c.first) << c.name;
        EXPECT_EQ(data.counts[1].threshold, std::nullopt) << c.name;
    }
}

} // namespace
} // namespace kestrix::charts
