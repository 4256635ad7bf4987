#include "WorkedExample.h"

namespace kestrix::cleanroom::testing {

table::testing::RecordSetSpec HandSpec() {
    table::testing::RecordSetSpec spec;
    spec.sensorName = "Counter 5000";
    spec.flowRate = 100.0F;
    spec.flowRateUnits = "LPM";
    spec.particleTypes = {"0.3", "0.5", "1.0", "5.0"};
    spec.analogTypes = {};
    spec.analogUnits = {};
    spec.locationNames = {"", "Airlock", "Filling", "Corridor"};
    return spec;
}

table::testing::SampleSpec HandSampleSpec(const HandSample& sample, int minute) {
    table::testing::SampleSpec spec;
    spec.timeStamp = 45366.5 + minute / 1440.0;
    spec.locationId = sample.location;
    spec.sampleTime = 60;
    spec.counts = {sample.at05 * 2, sample.at05, sample.at05 / 2, sample.at50};
    spec.analogs = {};
    return spec;
}

std::unique_ptr<data::clsDataRecordSet> MakeHandRecordSet() {
    std::vector<table::testing::SampleSpec> samples;
    for (std::size_t i = 0; i < kHandSamples.size(); ++i) {
        samples.push_back(HandSampleSpec(kHandSamples[i], static_cast<int>(i)));
    }
    return table::testing::MakeRecordSet(HandSpec(), samples);
}

ClassificationRequest Iso7Request() {
    ClassificationRequest request;
    request.target.isoClass = 7;
    request.areaSquareMetres = 5.0;
    request.room = "Fill room 2";
    return request;
}

ClassificationOutcome ClassifyNamed(data::clsDataRecordSet& recordSet,
                                    const ClassificationRequest& request) {
    return Classify(recordSet, request,
                    [&](std::int32_t id) { return recordSet.GetLocationName(id); });
}

} // namespace kestrix::cleanroom::testing
