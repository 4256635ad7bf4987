#pragma once

// The IAQ record set the report's tests work with: an IAQ instrument with channels 0.3 to
// 10.0 µm sampling 0.1 CFM for a minute, at the hours each day lists; location 1 on every
// hour, location 2 on some. The level scales every count, so a higher level is dirtier air.

#include "kestrix/iaq/iaqReport.h"
#include "kestrix/table/DataTableTestSupport.h"

#include <memory>
#include <vector>

namespace kestrix::iaq::testing {

struct ExampleDay {
    int day;            // of March 2025
    int hours;          // location 1 samples at 00:30, 01:30, ... for this many hours
    std::int32_t level; // of location 1; location 2 samples the first 6 hours at level / 10
};

// 2025-03-02 whole and dirty, 03-03 with 17 hours and dirtier, 03-04 with 18 hours and clean.
inline const std::vector<ExampleDay> kExampleDays{{2, 24, 4000}, {3, 17, 6000}, {4, 18, 100}};

table::testing::RecordSetSpec IaqSpec();
std::vector<std::int32_t> LevelCounts(std::int32_t level);
std::unique_ptr<data::clsDataRecordSet>
MakeIaqRecordSet(const std::vector<ExampleDay>& days = kExampleDays);

IaqOutcome ComputeNamed(data::clsDataRecordSet& recordSet, const IaqRequest& request = {});

} // namespace kestrix::iaq::testing
