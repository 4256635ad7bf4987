#pragma once

// Record sets, a configuration store and row/column lookups for the data table tests.

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/GridModel.h"
#include "kestrix/table/TableViewOptions.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrix::table::testing {

struct RecordSetSpec {
    std::string sensorName = "Counter 5000";
    std::int32_t sensorId = 4711;
    float flowRate = 1.0F;
    std::string flowRateUnits = "CFM";
    float particleDensity = 1.5F;
    std::string sampleTimeUnits = "s";
    std::vector<std::string> particleTypes{"0.3", "0.5", "1.0"};
    std::vector<std::string> analogTypes{"TEMP", "RH"};
    std::vector<std::string> analogUnits{"C", "%"};
    std::vector<std::string> locationNames;
    std::vector<std::int32_t> thresholds; // per particle channel; alarm on where above 0
};

// One sample: cumulative counts per particle channel, analog values, statuses and flags.
struct SampleSpec {
    base::DateTime timeStamp = 45366.5; // 2024-03-15 12:00:00
    std::int32_t locationId = 7;
    std::int32_t sampleTime = 60;
    std::uint8_t sampleTimeStatus = 0;
    std::vector<std::int32_t> counts{600, 350, 100};
    std::vector<std::uint8_t> particleStatus;
    std::vector<bool> particleEnabled;
    std::vector<double> analogs{20.0, 45.0};
    std::vector<std::uint8_t> analogStatus;
};

std::unique_ptr<data::clsDataRecordSet> MakeRecordSet(const RecordSetSpec& spec,
                                                      const std::vector<SampleSpec>& samples);

// Every view option on, units at their defaults.
TableViewOptions AllOptionsOn();

// A store loaded from a file that does not exist: default settings and names.
const modConfig::ConfigStore& DefaultStore();

// The first row of the kind; 0 when there is none.
int FindRow(const GridModel& grid, std::int32_t kind);
int CountRows(const GridModel& grid, std::int32_t kind);

// Titles of the row of kind 2 that comes first (quantities) or second (captions).
std::vector<std::string> TitleRow(const GridModel& grid, int which);

// The column whose titles are exactly these; 0 when there is none.
int FindColumn(const GridModel& grid, const std::string& title, const std::string& caption);

} // namespace kestrix::table::testing
