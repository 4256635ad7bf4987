#pragma once

// The name the table gives a location number, from the chosen source: the instrument's own
// names or the user's long or short My Locations names.

#include <cstdint>
#include <functional>
#include <string>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix {
namespace modConfig {
class ConfigStore;
}
} // namespace kestrix

namespace kestrix::table {

// The instrument's names fall back to the long My Locations names when the set has none.
std::int32_t ResolvedLocationSource(std::int32_t source, const data::clsDataRecordSet& recordSet);

// Empty for a location the source does not name, and for an unknown source.
std::string LocationNameFrom(std::int32_t resolvedSource, const data::clsDataRecordSet& recordSet,
                             const modConfig::ConfigStore& store, std::int32_t locationId);

// The names as the table shows them under the store's location name source; both are borrowed.
std::function<std::string(std::int32_t locationId)>
ConfiguredLocationNamer(const data::clsDataRecordSet& recordSet,
                        const modConfig::ConfigStore& store);

} // namespace kestrix::table
