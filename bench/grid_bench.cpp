// Fills the grid the way the data table does for a full instrument memory (65,535 records,
// 85 columns), adds the statistics rows, evaluates them, and reports times and memory.

#include "support/PeakMemory.h"
#include "support/SampleGrid.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

using kestrix::bench::BuildSampleGrid;
using kestrix::table::GridModel;

constexpr int kColumns = kestrix::bench::kSampleGridColumns;
constexpr int kFirstNumberColumn = kestrix::bench::kSampleGridFirstNumberColumn;
constexpr int kFirstDataRow = kestrix::bench::kSampleGridTitleRows + 1;
constexpr int kStatisticsRows = kestrix::bench::kSampleGridStatisticsRows;

void BM_FillTable(benchmark::State& state) {
    for (auto _ : state) {
        GridModel grid = BuildSampleGrid();
        state.counters["MB_held"] = static_cast<double>(grid.BytesHeld()) / 1e6;
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_FillTable)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_EvaluateStatistics(benchmark::State& state) {
    GridModel grid = BuildSampleGrid();
    const int last = grid.RowCount();
    for (auto _ : state) {
        grid.SetNumber(kColumns, kFirstDataRow, 1.0, 2); // invalidates the cached results
        for (int column = kFirstNumberColumn; column <= kColumns; ++column) {
            for (int row = last - kStatisticsRows + 1; row <= last; ++row) {
                benchmark::DoNotOptimize(grid.ShownText(column, row));
            }
        }
    }
}
BENCHMARK(BM_EvaluateStatistics)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_InsertHeaderLines(benchmark::State& state) {
    GridModel grid = BuildSampleGrid();
    for (auto _ : state) {
        for (int line = 1; line <= 5; ++line) {
            grid.InsertRowAbove(line);
        }
    }
}
BENCHMARK(BM_InsertHeaderLines)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WidestTexts(benchmark::State& state) {
    GridModel grid = BuildSampleGrid();
    for (auto _ : state) {
        for (int column = kColumns; column >= 1; --column) {
            benchmark::DoNotOptimize(grid.WidestTextWidth(column));
        }
    }
}
BENCHMARK(BM_WidestTexts)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("Peak resident memory: %.1f MB\n", PeakResidentMegabytes());
    return 0;
}
