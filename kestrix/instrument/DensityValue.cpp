#include "kestrix/instrument/DensityValue.h"

#include <cmath>
#include <limits>

namespace kestrix::instrument {

namespace {

constexpr double kSmallestDensity = 0.0009;
constexpr int kThousandthsPerGram = 1000;
constexpr int kDecimals = 3;

double Thousandths(double gramsPerMillilitre) {
    // The default rounding mode takes halves to the even neighbour.
    return std::nearbyint(gramsPerMillilitre * kThousandthsPerGram);
}

} // namespace

DensityProblem CheckDensity(double gramsPerMillilitre) {
    if (!(gramsPerMillilitre >= 0.0) ||
        Thousandths(gramsPerMillilitre) > std::numeric_limits<std::uint16_t>::max()) {
        return DensityProblem::OutOfRange;
    }
    return gramsPerMillilitre < kSmallestDensity ? DensityProblem::Zero : DensityProblem::None;
}

std::uint16_t DensityRegisterValue(double gramsPerMillilitre) {
    return static_cast<std::uint16_t>(Thousandths(gramsPerMillilitre));
}

std::string DensityProblemText(DensityProblem problem) {
    switch (problem) {
    case DensityProblem::Zero:
        return "The density value cannot be zero!";
    case DensityProblem::OutOfRange:
        return "The density value must be between " + FormatDensity(1) + " and " +
               FormatDensity(std::numeric_limits<std::uint16_t>::max()) + " grams / milliliter!";
    case DensityProblem::None:
        break;
    }
    return {};
}

std::string FormatDensity(std::uint16_t thousandths, const std::string& decimalSeparator) {
    std::string fraction = std::to_string(thousandths % kThousandthsPerGram);
    fraction.insert(0, kDecimals - fraction.size(), '0');
    return std::to_string(thousandths / kThousandthsPerGram) + decimalSeparator + fraction;
}

} // namespace kestrix::instrument
