#pragma once

// How location names are keyed in the configuration and in location files: two sections, keys
// "000" to "999", and the names an index has when nothing is stored.

#include <cstdint>
#include <string>

namespace kestrix::locationNames {

inline constexpr const char* kLongNameSection = "location_names";
inline constexpr const char* kShortNameSection = "short_location_names";

// The index with three digits, leading zeros.
std::string ThreeDigitKey(std::int32_t index);

std::string DefaultLongName(std::int32_t index);  // "Location 007"
std::string DefaultShortName(std::int32_t index); // "LOC007"

} // namespace kestrix::locationNames
