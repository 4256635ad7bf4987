// Filling and walking a full record set: 65,535 records with 16 particle and
// 16 analog channels, the largest download an instrument holds.

#include "support/SampleRecordSet.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <unistd.h>

namespace {

using kestrix::data::clsDataRecord;

constexpr std::int32_t kRecords = kestrix::bench::kFullMemoryRecords;
constexpr std::int16_t kParticleChannels = kestrix::bench::kSampleParticleChannels;
constexpr std::int16_t kAnalogChannels = kestrix::bench::kSampleAnalogChannels;

std::size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t totalPages = 0;
    std::size_t residentPages = 0;
    statm >> totalPages >> residentPages;
    return residentPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Resident memory growth of the process while one full set is built, beside
// the bytes that the columns need at the least.
void BM_FullSetMemory(benchmark::State& state) {
    for (auto _ : state) {
        const std::size_t before = ResidentBytes();
        const auto set = kestrix::bench::BuildSampleRecordSet();
        const std::size_t after = ResidentBytes();
        state.counters["resident_growth_bytes"] = static_cast<double>(after - before);
    }
    constexpr std::size_t kBytesPerEntry = sizeof(double) + 2 * sizeof(std::uint8_t);
    constexpr std::size_t kSets = 1 + kParticleChannels + kAnalogChannels;
    state.counters["column_payload_bytes"] = static_cast<double>(
        kRecords * (sizeof(double) + sizeof(std::int32_t) + kSets * kBytesPerEntry));
}
BENCHMARK(BM_FullSetMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_InitAndRecordCopy(benchmark::State& state) {
    for (auto _ : state) {
        const auto set = kestrix::bench::BuildSampleRecordSet();
        benchmark::DoNotOptimize(set->RecordCount());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_InitAndRecordCopy)->Unit(benchmark::kMillisecond);

void BM_WalkWithRecord(benchmark::State& state) {
    const auto set = kestrix::bench::BuildSampleRecordSet();
    for (auto _ : state) {
        std::int64_t checksum = 0;
        for (set->RecordIndexFirst(); set->RecordIndexIsValid(); set->RecordIndexNext()) {
            const clsDataRecord* record = set->Record(set->RecordIndex());
            checksum += record->GetPartChanValue(0, false) + record->GetLocationID();
        }
        benchmark::DoNotOptimize(checksum);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_WalkWithRecord)->Unit(benchmark::kMillisecond);

} // namespace
