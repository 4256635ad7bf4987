#include "support/SampleRecordSet.h"

#include <string>
#include <vector>

namespace kestrix::bench {
namespace {

constexpr double kMinutesPerDay = 1440.0;

void InitChannels(data::clsDataRecordSet& set) {
    std::vector<std::string> particleTypes;
    for (int channel = 0; channel < kSampleParticleChannels; ++channel) {
        particleTypes.push_back(std::to_string(0.3 + channel * 0.7).substr(0, 4));
    }
    const std::vector<std::string> kinds{"TEMP", "RH", "AIRV", "DPRS"};
    const std::vector<std::string> units{"C", "%", "ft/m", "Pa"};
    std::vector<std::string> analogTypes;
    std::vector<std::string> analogUnits;
    for (int channel = 0; channel < kSampleAnalogChannels; ++channel) {
        analogTypes.push_back(kinds[channel % kinds.size()]);
        analogUnits.push_back(units[channel % units.size()]);
    }
    std::string flowRateUnits = "CFM";
    set.Init("Bench IAQ", 1, 0.1F, flowRateUnits, 1.65F, kFullMemoryRecords, "s", particleTypes,
             analogTypes, analogUnits, std::vector<bool>(kSampleParticleChannels, false),
             std::vector<std::int32_t>(kSampleParticleChannels, 0));
}

void SetSample(data::clsDataRecord& record, std::int32_t row) {
    record.SetTimeStamp(45000.0 + row / kMinutesPerDay);
    record.SetLocationID(row % 1000);
    record.SetSampleTimeData(60, row % 211 == 0 ? 0x02 : 0);
    const std::uint8_t particleStatus = row % 97 == 0 ? 0x01 : 0;
    for (std::int16_t channel = 0; channel < kSampleParticleChannels; ++channel) {
        record.SetPartChanData(channel, (kSampleParticleChannels - channel) * 1000 + row % 997,
                               particleStatus, true);
    }
    for (std::int16_t channel = 0; channel < kSampleAnalogChannels; ++channel) {
        record.SetAnalogChanData(channel, 20.0 + channel * 0.5 + (row % 600) * 0.013, 0, true);
    }
}

} // namespace

std::unique_ptr<data::clsDataRecordSet> BuildSampleRecordSet() {
    auto set = std::make_unique<data::clsDataRecordSet>();
    InitChannels(*set);
    data::clsDataRecord record;
    record.SetPartChanCount(kSampleParticleChannels);
    record.SetAnalogChanCount(kSampleAnalogChannels);
    for (std::int32_t row = 0; row < kFullMemoryRecords; ++row) {
        SetSample(record, row);
        set->RecordCopy(row, &record);
    }
    return set;
}

} // namespace kestrix::bench
