#pragma once

// The particle density as the instrument keeps it: thousandths of a gram per millilitre in one
// 16-bit register, so 2500 is 2.5 g/ml. The checks here run before anything is written.

#include <cstdint>
#include <string>

namespace kestrix::instrument {

enum class DensityProblem {
    None,
    Zero,       // below 0.0009 g/ml, what an empty or all-zero entry gives
    OutOfRange, // negative, not a number, or more than one register holds
};

DensityProblem CheckDensity(double gramsPerMillilitre);

// The register value: the density times 1000, rounded to an integer with halves to even. Only
// for a density that CheckDensity accepts.
std::uint16_t DensityRegisterValue(double gramsPerMillilitre);

// The notice for a refused density; the range is given, since the instrument's limit is not
// visible anywhere else.
std::string DensityProblemText(DensityProblem problem);

// The register value as "0.000" with the separator: exact, with three decimals.
std::string FormatDensity(std::uint16_t thousandths, const std::string& decimalSeparator = ".");

} // namespace kestrix::instrument
