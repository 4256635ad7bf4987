// Fills the grid the way the data table does for a full instrument memory (65,535 records,
// 85 columns), adds the statistics rows, evaluates them, and reports times and memory.

#include "kestrix/table/GridModel.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <sys/resource.h>

namespace {

using kestrix::table::GridModel;
using kestrix::table::Rgb;

constexpr int kColumns = 85;
constexpr int kRecords = 65535;
constexpr int kTitleRows = 2;
constexpr int kFirstNumberColumn = 4;
constexpr Rgb kMagenta = Rgb::FromHex(0xFF00FF);

int DecimalsOf(int column) {
    return column % 3;
}

void FillTitles(GridModel& grid) {
    for (int row = 1; row <= kTitleRows; ++row) {
        grid.AddRow();
        for (int column = 1; column <= kColumns; ++column) {
            grid.SetText(column, row, "Title " + std::to_string(column));
            grid.SetBackColor(column, row, grid.HeaderColor());
        }
    }
}

void FillRecord(GridModel& grid, int record) {
    const int row = grid.AddRow();
    grid.SetRowUserValue(row, 3);
    grid.SetText(1, row,
                 "2024-03-" + std::to_string(10 + record / 8640) + " " +
                     std::to_string(record % 86400));
    grid.SetNumber(2, row, record % 50, 0);
    grid.SetText(3, row, "Clean room " + std::to_string(record % 50));
    const bool troubled = record % 97 == 0;
    for (int column = kFirstNumberColumn; column <= kColumns; ++column) {
        grid.SetNumber(column, row, (record % 1000) * 1.37 + column, DecimalsOf(column));
        if (troubled) {
            grid.SetTextColor(column, row, kMagenta);
            grid.SetNote(column, row, "- Bad laser voltage.");
            grid.SetFlagged(column, row, true);
        }
    }
}

void AddStatistics(GridModel& grid, int first, int last) {
    const std::string range = "#" + std::to_string(first) + ":#" + std::to_string(last);
    const int average = grid.AddRow();
    for (const char* function : {"AVERAGE(", "MAX(", "MIN("}) {
        const int row = function[0] == 'A' ? average : grid.AddRow();
        for (int column = kFirstNumberColumn; column <= kColumns; ++column) {
            grid.SetFormula(column, row, function + range + ")", DecimalsOf(column));
        }
    }
    const int deviation = grid.AddRow();
    const std::string formula = "SQRT(ABS((SUMSQ(" + range + ") - (#" + std::to_string(average) +
                                " * SUM(" + range + ")))/" + std::to_string(last - first) + "))";
    for (int column = kFirstNumberColumn; column <= kColumns; ++column) {
        grid.SetFormula(column, deviation, formula, 1);
    }
}

GridModel BuildTable() {
    GridModel grid;
    grid.SetColumnCount(kColumns);
    grid.ReserveRows(kTitleRows + kRecords + 4);
    FillTitles(grid);
    for (int record = 0; record < kRecords; ++record) {
        FillRecord(grid, record);
    }
    AddStatistics(grid, kTitleRows + 1, kTitleRows + kRecords);
    return grid;
}

void BM_FillTable(benchmark::State& state) {
    for (auto _ : state) {
        GridModel grid = BuildTable();
        state.counters["MB_held"] = static_cast<double>(grid.BytesHeld()) / 1e6;
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_FillTable)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_EvaluateStatistics(benchmark::State& state) {
    GridModel grid = BuildTable();
    const int last = grid.RowCount();
    for (auto _ : state) {
        grid.SetNumber(kColumns, kTitleRows + 1, 1.0, 2); // invalidates the cached results
        for (int column = kFirstNumberColumn; column <= kColumns; ++column) {
            for (int row = last - 3; row <= last; ++row) {
                benchmark::DoNotOptimize(grid.ShownText(column, row));
            }
        }
    }
}
BENCHMARK(BM_EvaluateStatistics)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_InsertHeaderLines(benchmark::State& state) {
    GridModel grid = BuildTable();
    for (auto _ : state) {
        for (int line = 1; line <= 5; ++line) {
            grid.InsertRowAbove(line);
        }
    }
}
BENCHMARK(BM_InsertHeaderLines)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WidestTexts(benchmark::State& state) {
    GridModel grid = BuildTable();
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
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("Peak resident memory: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
