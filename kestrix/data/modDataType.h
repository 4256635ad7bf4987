#pragma once

// Data type tags: the short texts that name every quantity of a record set
// (fixed tags such as "TEMP", particle sizes such as "0.3", and the derived
// "C", "MC" and "PM" forms of a size).

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrix::modDataType {

std::string GetDataTypeName(const std::string& tag);

bool IsParticleSizeType(const std::string& tag);
bool IsNormalizedCountType(const std::string& tag);
bool IsMassConcentrationType(const std::string& tag);
bool IsParticulateMatterType(const std::string& tag);

std::string GetNormalizedCountSize(const std::string& tag);
std::string GetMassConcentrationSize(const std::string& tag);
std::string GetParticulateMatterSize(const std::string& tag);

std::string MakeNormalizedCountType(const std::string& size);
std::string MakeMassConcentrationType(const std::string& size);
std::string MakeParticulateMatterType(const std::string& size);

bool IsAnalogChannelType(const std::string& tag);

// The numeric value of a size text in micrometres: blanks are skipped and the
// number ends at a second decimal point; no digits give 0, a number beyond the
// double range gives infinity.
double ParticleSizeValue(std::string_view size);

} // namespace kestrix::modDataType
