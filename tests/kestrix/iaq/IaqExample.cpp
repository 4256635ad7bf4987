#include "IaqExample.h"

#include "kestrix/base/dateTime.h"

namespace kestrix::iaq::testing {

namespace {

constexpr int kLocationTwoHours = 6;

table::testing::SampleSpec Sample(int day, int hour, std::int32_t location, std::int32_t level) {
    table::testing::SampleSpec spec;
    spec.timeStamp = base::MakeDateTime(2025, 3, day, hour, 30);
    spec.locationId = location;
    spec.sampleTime = 60;
    spec.counts = LevelCounts(level);
    spec.analogs = {};
    return spec;
}

} // namespace

table::testing::RecordSetSpec IaqSpec() {
    table::testing::RecordSetSpec spec;
    spec.sensorName = "Dastel 9304 IAQ";
    spec.sensorId = 220417;
    spec.flowRate = 0.1F;
    spec.flowRateUnits = "CFM";
    spec.particleDensity = 1.65F;
    spec.particleTypes = {"0.3", "0.5", "1.0", "2.5", "5.0", "10.0"};
    spec.analogTypes = {};
    spec.analogUnits = {};
    spec.locationNames = {"", "OFFICE", "HALL"};
    return spec;
}

std::vector<std::int32_t> LevelCounts(std::int32_t level) {
    return {level * 40, level * 20, level * 10, level * 2, level, level / 2};
}

std::unique_ptr<data::clsDataRecordSet> MakeIaqRecordSet(const std::vector<ExampleDay>& days) {
    std::vector<table::testing::SampleSpec> samples;
    for (const ExampleDay& day : days) {
        for (int hour = 0; hour < day.hours; ++hour) {
            samples.push_back(Sample(day.day, hour, 1, day.level));
            if (hour < kLocationTwoHours) {
                samples.push_back(Sample(day.day, hour, 2, day.level / 10));
            }
        }
    }
    return table::testing::MakeRecordSet(IaqSpec(), samples);
}

IaqOutcome ComputeNamed(data::clsDataRecordSet& recordSet, const IaqRequest& request) {
    return ComputeIaqReport(recordSet, request,
                            [&](std::int32_t id) { return recordSet.GetLocationName(id); });
}

} // namespace kestrix::iaq::testing
