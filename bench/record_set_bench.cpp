// Filling and walking a full record set: 65,535 records with 16 particle and
// 16 analog channels, the largest download an instrument holds.

#include "kestrix/data/clsDataRecordSet.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <unistd.h>

namespace {

using kestrix::clsDataRecord;
using kestrix::clsDataRecordSet;

constexpr std::int32_t kRecords = 65535;
constexpr std::int16_t kParticleChannels = 16;
constexpr std::int16_t kAnalogChannels = 16;

bool InitFullSet(clsDataRecordSet& set) {
    std::vector<std::string> particleTypes;
    for (int channel = 0; channel < kParticleChannels; ++channel) {
        particleTypes.push_back(std::to_string(channel + 1) + ".0");
    }
    const std::vector<std::string> analogTypes(kAnalogChannels, "TEMP");
    const std::vector<std::string> analogUnits(kAnalogChannels, "C");
    const std::vector<bool> alarms(kParticleChannels, true);
    const std::vector<std::int32_t> thresholds(kParticleChannels, 1000);
    std::string flowRateUnits = "CFM";
    return set.Init("Bench", 1, 1.0F, flowRateUnits, 1.0F, kRecords, "s", particleTypes,
                    analogTypes, analogUnits, alarms, thresholds);
}

clsDataRecord FullRecord() {
    clsDataRecord record;
    record.SetSampleTimeData(60, 0);
    record.SetPartChanCount(kParticleChannels);
    for (std::int16_t channel = 0; channel < kParticleChannels; ++channel) {
        record.SetPartChanData(channel, (kParticleChannels - channel) * 100, 0, true);
    }
    record.SetAnalogChanCount(kAnalogChannels);
    for (std::int16_t channel = 0; channel < kAnalogChannels; ++channel) {
        record.SetAnalogChanData(channel, channel * 0.5, 0, true);
    }
    return record;
}

void FillFullSet(clsDataRecordSet& set) {
    clsDataRecord record = FullRecord();
    for (std::int32_t row = 0; row < kRecords; ++row) {
        record.SetTimeStamp(45000.0 + row / 1440.0);
        record.SetLocationID(row % 1000);
        record.SetPartChanData(0, 2000 + row, 0, true);
        set.RecordCopy(row, &record);
    }
}

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
        clsDataRecordSet set;
        InitFullSet(set);
        FillFullSet(set);
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
        clsDataRecordSet set;
        InitFullSet(set);
        FillFullSet(set);
        benchmark::DoNotOptimize(set.RecordCount());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_InitAndRecordCopy)->Unit(benchmark::kMillisecond);

void BM_WalkWithRecord(benchmark::State& state) {
    clsDataRecordSet set;
    InitFullSet(set);
    FillFullSet(set);
    for (auto _ : state) {
        std::int64_t checksum = 0;
        for (set.RecordIndexFirst(); set.RecordIndexIsValid(); set.RecordIndexNext()) {
            const clsDataRecord* record = set.Record(set.RecordIndex());
            checksum += record->GetPartChanValue(0, false) + record->GetLocationID();
        }
        benchmark::DoNotOptimize(checksum);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_WalkWithRecord)->Unit(benchmark::kMillisecond);

} // namespace
