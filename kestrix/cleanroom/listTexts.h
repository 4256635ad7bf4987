#pragma once

// The lists a user types for a classification: sizes "0.5,5.0" and locations "1,3,5-8".

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::cleanroom {

// Positive numbers separated by commas; nothing when an item is not one.
std::optional<std::vector<double>> ParseSizeList(const std::string& text);

// Location numbers 0 and above and ranges "5-8" separated by commas; nothing when an item is
// not one or a range runs backwards.
std::optional<std::vector<std::int32_t>> ParseLocationList(const std::string& text);

} // namespace kestrix::cleanroom
