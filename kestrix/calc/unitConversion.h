#pragma once

// Conversions between unit codes, the units offered for each displayed
// quantity, and the number of decimals a value of a quantity is shown with.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::modUnits {

// value x factor + offset of the pair; unrelated or unknown pairs pass the value unchanged.
double ConvertUnits(double value, std::int32_t fromCode, std::int32_t toCode);
double GetConversionFactor(std::int32_t fromCode, std::int32_t toCode);
double GetConversionOffset(std::int32_t fromCode, std::int32_t toCode);

// The unit code offered at a position for the quantity, as decimal text; "0" past the end.
std::string GetUnitChoice(const std::string& tag, std::int16_t index);

// Every unit code offered for the quantity, default first.
std::vector<std::int32_t> GetUnitChoices(const std::string& tag);

int GetDecimalPlaces(const std::string& tag, std::int32_t unitCode);

} // namespace kestrix::modUnits
