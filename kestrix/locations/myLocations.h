#pragma once

// The names a location file is made from and what an imported file changes in My Locations.

#include "kestrix/locations/locationFile.h"

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::locations {

// My Locations as stored, each name cut at its first NUL.
LocationNames MyLocationNames(const modConfig::ConfigStore& store);

// The instrument's names of a download, each as both the short and the long name of its index.
LocationNames InstrumentLocationNames(const data::clsDataRecordSet& recordSet);

// Stores every index, short name then long name; empty names keep the stored ones.
void ImportLocationNames(const LocationNames& names, modConfig::ConfigStore& store);

} // namespace kestrix::locations
