// Lays out a full instrument memory (65,535 records of an IAQ instrument with 16 particle and
// 16 analog channels, every view option on: about 5.5 million cells) and a year of it at
// 2-minute samples (262,800 records), and refreshes the full memory's table after a unit change
// and after an option is switched off and on. Reports times, the table's bytes per record and
// the process's peak resident memory.

#include "kestrix/data/modUnits.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/modDataTable.h"
#include "support/PeakMemory.h"
#include "support/SampleRecordSet.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>

namespace {

using kestrix::table::GridModel;
using kestrix::table::TableViewOptions;

TableViewOptions EveryOptionOn() {
    TableViewOptions options;
    options.showLocationNumbers = true;
    options.showParticleNorm = true;
    return options;
}

const kestrix::modConfig::ConfigStore& Store() {
    static const kestrix::modConfig::ConfigStore store = [] {
        kestrix::modConfig::ConfigStore loaded;
        loaded.LoadConfig("/nonexistent/kestrix-bench/config.ini");
        return loaded;
    }();
    return store;
}

void Fill(GridModel& grid, kestrix::data::clsDataRecordSet* set, const TableViewOptions& options) {
    kestrix::modDataTable::FillTable(grid, set, options, Store());
}

// records: the size of the set (argument 0).
void BM_FillTable(benchmark::State& state) {
    const auto records = static_cast<std::int32_t>(state.range(0));
    const auto set = kestrix::bench::BuildSampleRecordSet(records, 0, records > 65535 ? 2.0 : 1.0);
    const TableViewOptions options = EveryOptionOn();
    std::size_t cells = 0;
    std::size_t gridBytes = 0;
    for (auto _ : state) {
        GridModel grid;
        kestrix::modDataTable::InitTableGrid(grid);
        Fill(grid, set.get(), options);
        cells = static_cast<std::size_t>(grid.RowCount()) * grid.ColumnCount();
        gridBytes = grid.BytesHeld();
        state.PauseTiming();
        grid = GridModel();
        state.ResumeTiming();
    }
    state.counters["cells"] = static_cast<double>(cells);
    state.counters["grid_MB"] = static_cast<double>(gridBytes) / (1024.0 * 1024.0);
    state.counters["grid_B_per_record"] = static_cast<double>(gridBytes) / records;
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_FillTable)
    ->Arg(kestrix::bench::kFullMemoryRecords)
    ->Arg(kestrix::bench::kYearOfRecords)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The table of the full memory laid out again after each change; the changes alternate, so
// every iteration changes something.
void Refresh(benchmark::State& state, const std::function<void(TableViewOptions&)>& change) {
    const auto set = kestrix::bench::BuildSampleRecordSet();
    TableViewOptions options = EveryOptionOn();
    GridModel grid;
    kestrix::modDataTable::InitTableGrid(grid);
    kestrix::table::TableLayout layout =
        kestrix::modDataTable::FillTable(grid, set.get(), options, Store());
    for (auto _ : state) {
        change(options);
        kestrix::modDataTable::RefreshTable(grid, layout, set.get(), options, Store());
        // What a view reads first: the statistics rows, evaluated.
        benchmark::DoNotOptimize(grid.ShownText(grid.ColumnCount(), grid.RowCount()));
    }
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}

void BM_RefreshAfterUnitChange(benchmark::State& state) {
    Refresh(state, [](TableViewOptions& options) {
        options.temperatureUnits = options.temperatureUnits == kestrix::modUnits::kUnitCelsius
                                       ? kestrix::modUnits::kUnitFahrenheit
                                       : kestrix::modUnits::kUnitCelsius;
    });
}
BENCHMARK(BM_RefreshAfterUnitChange)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_RefreshAfterOptionToggle(benchmark::State& state) {
    Refresh(state, [](TableViewOptions& options) {
        options.showParticleNorm = !options.showParticleNorm;
    });
}
BENCHMARK(BM_RefreshAfterOptionToggle)->Unit(benchmark::kMillisecond)->Iterations(4);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("peak resident memory of the process: %.1f MB\n", PeakResidentMegabytes());
    return 0;
}
