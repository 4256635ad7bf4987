// Lays out a full instrument memory (65,535 records of an IAQ instrument with 16 particle and
// 16 analog channels, every view option on: about 5.5 million cells) and reports the FillTable
// time and the process's peak resident memory for record set and table.

#include "kestrix/shell/modConfig.h"
#include "kestrix/table/modDataTable.h"
#include "support/PeakMemory.h"
#include "support/SampleRecordSet.h"

#include <benchmark/benchmark.h>
#include <cstdio>

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

void BM_FillTable(benchmark::State& state) {
    const auto set = kestrix::bench::BuildSampleRecordSet();
    const TableViewOptions options = EveryOptionOn();
    std::size_t cells = 0;
    std::size_t gridBytes = 0;
    for (auto _ : state) {
        GridModel grid;
        kestrix::modDataTable::InitTableGrid(grid);
        kestrix::modDataTable::FillTable(grid, set.get(), options, Store());
        cells = static_cast<std::size_t>(grid.RowCount()) * grid.ColumnCount();
        gridBytes = grid.BytesHeld();
        state.PauseTiming();
        grid = GridModel();
        state.ResumeTiming();
    }
    state.counters["cells"] = static_cast<double>(cells);
    state.counters["grid_MB"] = static_cast<double>(gridBytes) / (1024.0 * 1024.0);
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_FillTable)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("peak resident memory of the process: %.1f MB\n", PeakResidentMegabytes());
    return 0;
}
