#include "DataTableTestSupport.h"

#include "kestrix/table/tableRowKinds.h"

#include <filesystem>

namespace kestrix::table::testing {
namespace {

template <typename T>
T At(const std::vector<T>& values, std::size_t i, T otherwise) {
    return i < values.size() ? values[i] : otherwise;
}

data::clsDataRecord MakeRecord(const SampleSpec& sample) {
    data::clsDataRecord record;
    record.SetTimeStamp(sample.timeStamp);
    record.SetLocationID(sample.locationId);
    record.SetSampleTimeData(sample.sampleTime, sample.sampleTimeStatus);
    record.SetPartChanCount(static_cast<std::int16_t>(sample.counts.size()));
    for (std::size_t i = 0; i < sample.counts.size(); ++i) {
        record.SetPartChanData(static_cast<std::int16_t>(i), sample.counts[i],
                               At<std::uint8_t>(sample.particleStatus, i, 0),
                               At<bool>(sample.particleEnabled, i, true));
    }
    record.SetAnalogChanCount(static_cast<std::int16_t>(sample.analogs.size()));
    for (std::size_t i = 0; i < sample.analogs.size(); ++i) {
        record.SetAnalogChanData(static_cast<std::int16_t>(i), sample.analogs[i],
                                 At<std::uint8_t>(sample.analogStatus, i, 0), true);
    }
    return record;
}

} // namespace

std::unique_ptr<data::clsDataRecordSet> MakeRecordSet(const RecordSetSpec& spec,
                                                      const std::vector<SampleSpec>& samples) {
    auto set = std::make_unique<data::clsDataRecordSet>();
    std::string flowRateUnits = spec.flowRateUnits;
    std::vector<std::int32_t> thresholds = spec.thresholds;
    thresholds.resize(spec.particleTypes.size(), 0);
    std::vector<bool> alarms;
    for (const std::int32_t threshold : thresholds) {
        alarms.push_back(threshold > 0);
    }
    if (!set->Init(spec.sensorName, spec.sensorId, spec.flowRate, flowRateUnits,
                   spec.particleDensity, static_cast<std::int32_t>(samples.size()),
                   spec.sampleTimeUnits, spec.particleTypes, spec.analogTypes, spec.analogUnits,
                   alarms, thresholds)) {
        return nullptr;
    }
    set->SetLocationNames(spec.locationNames);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const data::clsDataRecord record = MakeRecord(samples[i]);
        set->RecordCopy(static_cast<std::int32_t>(i), &record);
    }
    return set;
}

TableViewOptions AllOptionsOn() {
    TableViewOptions options;
    options.showInstrumentInfo = true;
    options.showLocationNumbers = true;
    options.showLocationNames = true;
    options.showParticleRaw = true;
    options.showParticleNorm = true;
    options.showMassConcentrations = true;
    options.showParticulateMatter = true;
    options.showSampleTime = true;
    options.showSampleVolume = true;
    options.showEnvironmentals = true;
    return options;
}

const modConfig::ConfigStore& DefaultStore() {
    static const modConfig::ConfigStore store = [] {
        modConfig::ConfigStore loaded;
        const auto missing =
            std::filesystem::temp_directory_path() / "kestrix-no-such-folder" / "config.ini";
        loaded.LoadConfig(missing.string());
        return loaded;
    }();
    return store;
}

int FindRow(const GridModel& grid, std::int32_t kind) {
    for (int row = 1; row <= grid.RowCount(); ++row) {
        if (grid.RowUserValue(row) == kind) {
            return row;
        }
    }
    return 0;
}

int CountRows(const GridModel& grid, std::int32_t kind) {
    int count = 0;
    for (int row = 1; row <= grid.RowCount(); ++row) {
        count += grid.RowUserValue(row) == kind ? 1 : 0;
    }
    return count;
}

std::vector<std::string> TitleRow(const GridModel& grid, int which) {
    const int row = FindRow(grid, kRowColumnTitle) + which;
    std::vector<std::string> texts;
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        texts.push_back(grid.Text(column, row));
    }
    return texts;
}

int FindColumn(const GridModel& grid, const std::string& title, const std::string& caption) {
    const int row = FindRow(grid, kRowColumnTitle);
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        if (grid.Text(column, row) == title && grid.Text(column, row + 1) == caption) {
            return column;
        }
    }
    return 0;
}

} // namespace kestrix::table::testing
