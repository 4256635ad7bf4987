// Classifying a full instrument memory: 65,535 records with 16 particle channels over 1,000
// locations, against ISO 6 at 0.3 and 1.0 µm; the data checks alone; and the report laid out
// for printing and written as JSON.

#include "kestrix/cleanroom/classification.h"
#include "kestrix/cleanroom/dataChecks.h"
#include "kestrix/cleanroom/reportGrid.h"
#include "kestrix/cleanroom/reportJson.h"
#include "support/SampleRecordSet.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kestrix::cleanroom;

ClassificationRequest Iso6Request() {
    ClassificationRequest request;
    request.target.isoClass = 6;
    request.areaSquareMetres = 2'000;
    request.sizes = {0.3, 1.0};
    request.room = "Bench";
    return request;
}

ClassificationReport FullReport(kestrix::data::clsDataRecordSet& set) {
    return *Classify(set, Iso6Request(), [&](std::int32_t id) {
                return set.GetLocationName(id);
            }).report;
}

void BM_ClassifyFullMemory(benchmark::State& state) {
    const auto set = kestrix::bench::BuildSampleRecordSet();
    for (auto _ : state) {
        const ClassificationReport report = FullReport(*set);
        state.counters["locations"] = static_cast<double>(report.locations.size());
        state.counters["findings"] = static_cast<double>(report.findings.size());
    }
    state.SetItemsProcessed(state.iterations() * set->RecordCount());
}
BENCHMARK(BM_ClassifyFullMemory)->Unit(benchmark::kMillisecond);

void BM_DataChecksFullMemory(benchmark::State& state) {
    const auto set = kestrix::bench::BuildSampleRecordSet();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CheckRecords(*set).size());
    }
    state.SetItemsProcessed(state.iterations() * set->RecordCount());
}
BENCHMARK(BM_DataChecksFullMemory)->Unit(benchmark::kMillisecond);

void BM_ReportGridAndJson(benchmark::State& state) {
    const auto set = kestrix::bench::BuildSampleRecordSet();
    const ClassificationReport report = FullReport(*set);
    for (auto _ : state) {
        kestrix::table::GridModel grid;
        LayOutReport(report, grid);
        state.counters["grid_rows"] = grid.RowCount();
        benchmark::DoNotOptimize(ReportJson(report).size());
    }
}
BENCHMARK(BM_ReportGridAndJson)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
