// Lays out a full instrument memory (65,535 records of an IAQ instrument with 16 particle and
// 16 analog channels, every view option on: about 5.5 million cells) and reports the FillTable
// time and the process's peak resident memory for record set and table.

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/modDataTable.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using kestrix::clsDataRecord;
using kestrix::clsDataRecordSet;
using kestrix::table::GridModel;
using kestrix::table::TableViewOptions;

constexpr std::int32_t kRecords = 65535;
constexpr std::int16_t kParticleChannels = 16;
constexpr std::int16_t kAnalogChannels = 16;

std::unique_ptr<clsDataRecordSet> FullIaqSet() {
    std::vector<std::string> particleTypes;
    for (int channel = 0; channel < kParticleChannels; ++channel) {
        particleTypes.push_back(std::to_string(0.3 + channel * 0.7).substr(0, 4));
    }
    const std::vector<std::string> kinds{"TEMP", "RH", "AIRV", "DPRS"};
    const std::vector<std::string> units{"C", "%", "ft/m", "Pa"};
    std::vector<std::string> analogTypes;
    std::vector<std::string> analogUnits;
    for (int channel = 0; channel < kAnalogChannels; ++channel) {
        analogTypes.push_back(kinds[channel % kinds.size()]);
        analogUnits.push_back(units[channel % units.size()]);
    }
    auto set = std::make_unique<clsDataRecordSet>();
    std::string flowRateUnits = "CFM";
    set->Init("Bench IAQ", 1, 0.1F, flowRateUnits, 1.65F, kRecords, "s", particleTypes, analogTypes,
              analogUnits, std::vector<bool>(kParticleChannels, false),
              std::vector<std::int32_t>(kParticleChannels, 0));
    clsDataRecord record;
    record.SetPartChanCount(kParticleChannels);
    record.SetAnalogChanCount(kAnalogChannels);
    for (std::int32_t row = 0; row < kRecords; ++row) {
        record.SetTimeStamp(45000.0 + row / 1440.0);
        record.SetLocationID(row % 1000);
        record.SetSampleTimeData(60, row % 211 == 0 ? 0x02 : 0);
        for (std::int16_t channel = 0; channel < kParticleChannels; ++channel) {
            const std::uint8_t status = row % 97 == 0 ? 0x01 : 0;
            record.SetPartChanData(channel, (kParticleChannels - channel) * 1000 + row % 500,
                                   status, true);
        }
        for (std::int16_t channel = 0; channel < kAnalogChannels; ++channel) {
            record.SetAnalogChanData(channel, 20.0 + channel * 0.5 + (row % 60) * 0.01, 0, true);
        }
        set->RecordCopy(row, &record);
    }
    return set;
}

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

double PeakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_FillTable(benchmark::State& state) {
    const auto set = FullIaqSet();
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
