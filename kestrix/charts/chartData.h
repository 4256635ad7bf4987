#pragma once

// The values the trend charts draw, taken from the record set the way the table shows them:
// particle counts raw or normalized, cumulative or differential, environmental readings in the
// chosen units, PM2.5 and PM10 of IAQ data, for all locations or one.

#include "kestrix/iaq/airQualityIndex.h"
#include "kestrix/table/TableViewOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::charts {

struct ChartSeries {
    std::string key;                 // names the series in the saved chart state
    std::string title;               // as the table's first title line
    std::string units;               // as the table's unit caption
    std::vector<double> values;      // one per chart record; NaN where the table cell stays empty
    std::optional<double> threshold; // the instrument's alarm threshold, in the series' values
    std::optional<iaq::Pollutant> pollutant; // PM2.5 or PM10: the index's bands lie behind it
};

struct ChartData {
    std::vector<double> times;            // record time stamps (days since 1899-12-30)
    std::vector<std::int32_t> locations;  // record location numbers
    std::vector<std::int32_t> recordRows; // record index in the set, for each chart record
    std::vector<ChartSeries> counts;
    std::vector<ChartSeries> environmental;
    std::vector<ChartSeries> particulateMatter; // PM2.5 and PM10 as the table computes them
};

struct LocationChoice {
    std::int32_t id = 0;
    std::string name; // from the table's location name source; may be empty
};

// Every record of the set. Throws ArithmeticError where the table would.
ChartData BuildChartData(data::clsDataRecordSet& recordSet, const table::TableViewOptions& options);

// The records of one location, or all when none is given.
ChartData ForLocation(const ChartData& all, std::optional<std::int32_t> location);

// The location numbers of the records, ascending, with their names from the set or the store.
std::vector<LocationChoice> LocationChoices(const ChartData& all,
                                            const data::clsDataRecordSet& recordSet,
                                            const table::TableViewOptions& options,
                                            const modConfig::ConfigStore& store);

} // namespace kestrix::charts
