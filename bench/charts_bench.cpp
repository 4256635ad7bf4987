// Trend charts of a full instrument memory (65,535 IAQ records, 16 particle and 16 analog
// channels): building the series and drawing both charts once, then again after a unit
// change, in an offscreen chart panel. Prints the times and the points handed to the charts.

#include "kestrix/charts/chartData.h"
#include "kestrix/data/modUnits.h"
#include "kestrix/gui/charts/ChartPanel.h"
#include "kestrix/gui/charts/TrendChart.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/TableViewOptions.h"
#include "support/OffscreenWindows.h"
#include "support/SampleRecordSet.h"

#include <QApplication>
#include <chrono>
#include <cstdio>

namespace {

using namespace kestrix;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Charts the set under the options and paints the panel, as the screen would.
void ChartAndReport(gui::ChartPanel& panel, clsDataRecordSet& set,
                    const table::TableViewOptions& options, const modConfig::ConfigStore& store,
                    const char* what) {
    const auto built = Clock::now();
    const charts::ChartData data = charts::BuildChartData(set, options);
    const double buildSeconds = SecondsSince(built);

    const auto start = Clock::now();
    panel.SetSource(&set, options, store);
    panel.grab();
    const double shownSeconds = SecondsSince(start);
    std::printf("%s: charted and drawn in %.3f s (series values alone %.3f s); "
                "%zu records, %zu + %zu series, %lld + %lld points drawn\n",
                what, shownSeconds, buildSeconds, data.times.size(), data.counts.size(),
                data.environmental.size(),
                static_cast<long long>(panel.Counts()->DrawnPointCount()),
                static_cast<long long>(panel.Environmental()->DrawnPointCount()));
}

} // namespace

int main() {
    bench::OffscreenWindows windows("charts_bench");
    modConfig::ConfigStore& store = windows.store;

    const auto set = bench::BuildSampleRecordSet();
    gui::ChartPanel panel;
    panel.resize(1000, 800);
    panel.show();
    QApplication::processEvents();

    table::TableViewOptions options = table::ReadTableViewOptions(store);
    ChartAndReport(panel, *set, options, store, "first chart");
    options.temperatureUnits = modUnits::kUnitCelsius;
    options.airVelocityUnits = modUnits::kUnitMetersPerSecond;
    ChartAndReport(panel, *set, options, store, "after a unit change");
    options.showParticleNorm = true;
    options.particleNormUnits = modUnits::kUnitParticlesPerCubicMeter;
    ChartAndReport(panel, *set, options, store, "normalized counts");
    return 0;
}
