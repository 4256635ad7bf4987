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
#include <functional>

namespace {

using namespace kestrix;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs the change that charts the set and paints the panel, as the screen would.
void ChartAndReport(gui::ChartPanel& panel, data::clsDataRecordSet& set,
                    const modConfig::ConfigStore& store, const char* what,
                    const std::function<void()>& change) {
    const auto start = Clock::now();
    change();
    panel.grab();
    const double shownSeconds = SecondsSince(start);

    const auto built = Clock::now();
    const charts::ChartData data = charts::BuildChartData(set, table::ReadTableViewOptions(store));
    const double buildSeconds = SecondsSince(built);
    std::printf("%s: charted and drawn in %.3f s (series values alone %.3f s); "
                "%zu records, %zu + %zu series, %lld + %lld points drawn\n",
                what, shownSeconds, buildSeconds, data.times.size(), data.counts.size(),
                data.environmental.size(),
                static_cast<long long>(panel.Counts()->DrawnPointCount()),
                static_cast<long long>(panel.Environmental()->DrawnPointCount()));
}

} // namespace

int main() {
    using namespace modConfig::settings;
    bench::OffscreenWindows windows("charts_bench");
    modConfig::ConfigStore& store = windows.store;

    const auto set = bench::BuildSampleRecordSet();
    gui::ChartPanel panel(store);
    panel.resize(1000, 800);
    panel.show();
    QApplication::processEvents();

    ChartAndReport(panel, *set, store, "first chart", [&] { panel.SetSource(set.get()); });
    // Each stored option charts anew; the last one of a pair is timed.
    store.Set(kUnitAirVelocity, std::int32_t{modUnits::kUnitMetersPerSecond});
    ChartAndReport(panel, *set, store, "after a unit change",
                   [&] { store.Set(kUnitTemperature, std::int32_t{modUnits::kUnitCelsius}); });
    store.Set(kUnitParticleNorm, std::int32_t{modUnits::kUnitParticlesPerCubicMeter});
    ChartAndReport(panel, *set, store, "normalized counts",
                   [&] { store.Set(kShowParticleNorm, true); });
    return 0;
}
