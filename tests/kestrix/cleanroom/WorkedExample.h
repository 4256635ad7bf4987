#pragma once

// The room the classification tests work through by hand: three locations sampled twice each
// with 100 L (100 L/min for 60 s, so a count of n is 10 n per m³), four channels 0.3, 0.5, 1.0
// and 5.0 µm. Classified as ISO 7 at 0.5 and 5.0 µm, location 3 exceeds 2,930/m³ at 5.0 µm.

#include "kestrix/cleanroom/classification.h"
#include "kestrix/table/DataTableTestSupport.h"
#include "kestrix/table/TableViewOptions.h"

#include <memory>
#include <vector>

namespace kestrix::cleanroom::testing {

inline constexpr double kCubicMetresPerSample = 0.1;

// Cumulative counts of one sample at 0.5 and 5.0 µm; 0.3 and 1.0 µm are filled in below and
// between them.
struct HandSample {
    std::int32_t location;
    std::int32_t at05;
    std::int32_t at50;
};

inline const std::vector<HandSample> kHandSamples{
    {1, 10'000, 100}, {1, 12'000, 140}, {2, 20'000, 250},
    {2, 22'000, 260}, {3, 30'000, 300}, {3, 40'000, 320},
};

table::testing::RecordSetSpec HandSpec();
table::testing::SampleSpec HandSampleSpec(const HandSample& sample, int minute);
std::unique_ptr<data::clsDataRecordSet> MakeHandRecordSet();

ClassificationRequest Iso7Request();
ClassificationOutcome ClassifyNamed(data::clsDataRecordSet& recordSet,
                                    const ClassificationRequest& request);

} // namespace kestrix::cleanroom::testing
