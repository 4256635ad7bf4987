#include "kestrix/calc/unitConversion.h"

#include "kestrix/data/modUnits.h"

#include <array>
#include <cstddef>
#include <optional>

namespace kestrix::modUnits {

namespace {

// A square table over a run of consecutive unit codes: entry [from][to].
template <std::size_t N>
struct CodeMatrix {
    std::int32_t firstCode;
    std::array<std::array<double, N>, N> entries;

    std::optional<double> Lookup(std::int32_t fromCode, std::int32_t toCode) const {
        const auto from = Position(fromCode);
        const auto to = Position(toCode);
        if (!from || !to) {
            return std::nullopt;
        }
        return entries[*from][*to];
    }

private:
    std::optional<std::size_t> Position(std::int32_t code) const {
        if (code < firstCode || code >= firstCode + static_cast<std::int32_t>(N)) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(code - firstCode);
    }
};

constexpr double kFeetToMetres = 0.3048;
constexpr double kMetresToFeet = 3.28083;
constexpr double kSecondsPerMinute = 60.0;
constexpr double kUnitToMilli = 1000.0;
constexpr double kMilliToUnit = 0.001;

// Seconds, minutes, hours.
constexpr CodeMatrix<3> kTimeFactors{
    kUnitSeconds,
    {{{1.0, 1.0 / 60.0, 1.0 / 3600.0}, {60.0, 1.0, 1.0 / 60.0}, {3600.0, 60.0, 1.0}}}};

// Fahrenheit, Celsius, Kelvin.
constexpr CodeMatrix<3> kTemperatureFactors{
    kUnitFahrenheit, {{{1.0, 0.5555555556, 0.5555555556}, {1.8, 1.0, 1.0}, {1.8, 1.0, 1.0}}}};
constexpr CodeMatrix<3> kTemperatureOffsets{
    kUnitFahrenheit,
    {{{0.0, -17.77777778, 255.3722222}, {32.0, 0.0, 273.15}, {-459.666, -273.15, 0.0}}}};

// Inches of water, inches of mercury, mm of water, mm of mercury, cm of mercury,
// pascals, kilopascals, bar, millibar. Deliberately not symmetric: each entry stands.
constexpr CodeMatrix<9> kPressureFactors{
    kUnitInchesOfWater,
    {{
        {1, 0.0735559, 25.3999998, 1.8683202, 0.18683202, 249.0889083, 0.2490889083, 0.0024909,
         2.4909},
        {13.5951002, 1, 345.3155427, 25.3999997, 2.53999997, 3386.3886667, 3.3863886667, 0.0338639,
         33.8639},
        {0.0393701, 0.0028959, 1, 0.0735559, 0.00735559, 9.80665, 0.00980665, 0.0000981, 0.0981},
        {0.5352402, 0.03937007874, 13.5951003, 1, 0.1, 133.32239, 0.13332239, 0.0013332, 1.3332},
        {5.352402, 0.3937007874, 135.951003, 10, 1, 1333.2239, 1.3332239, 0.013332, 13.332},
        {0.0040146, 0.0002953, 0.1019716, 0.0075006, 0.00075006, 1, 0.001, 0.00001, 0.01},
        {4.0146, 0.2953, 101.9716, 7.5006, 0.75006, 1000, 1, 0.01, 10},
        {401.4630787, 29.5299831, 10197.1621298, 750.0615613, 75.00615613, 100000, 100, 1, 1000},
        {0.4014630787, 0.0295299831, 10.1971621298, 0.7500615613, 0.07500615613, 100, 0.1, 0.001,
         1},
    }}};

// Cubic feet, cubic metres, litres, millilitres: volumes and the flows of the same base.
constexpr std::array<std::array<double, 4>, 4> kVolumeFactors{{
    {1, 0.02831684659, 28.31684659, 28316.84659},
    {35.31466672, 1, 1000, 1000000},
    {0.03531466672, 0.001, 1, 1000},
    {0.00003531466672, 0.000001, 0.001, 1},
}};

std::optional<std::size_t> VolumeGroup(std::int32_t code) {
    switch (code) {
    case kUnitCubicFeet:
    case kUnitCubicFeetPerMinute:
        return 0;
    case kUnitCubicMeters:
    case kUnitCubicMetersPerMinute:
        return 1;
    case kUnitLiters:
    case kUnitLitersPerMinute:
        return 2;
    case kUnitMilliliters:
    case kUnitMillilitersPerMinute:
        return 3;
    default:
        return std::nullopt;
    }
}

std::optional<double> VolumeFactor(std::int32_t fromCode, std::int32_t toCode) {
    const auto from = VolumeGroup(fromCode);
    const auto to = VolumeGroup(toCode);
    if (!from || !to) {
        return std::nullopt;
    }
    return kVolumeFactors[*from][*to];
}

// Families of two units, one entry per direction.
struct PairFactor {
    std::int32_t fromCode;
    std::int32_t toCode;
    double factor;
};

constexpr std::array kPairFactors{
    PairFactor{kUnitFeet, kUnitMeters, kFeetToMetres},
    PairFactor{kUnitMeters, kUnitFeet, kMetresToFeet},
    PairFactor{kUnitSquareFeet, kUnitSquareMeters, 0.09290304},
    PairFactor{kUnitSquareMeters, kUnitSquareFeet, 10.76391042},
    PairFactor{kUnitParticlesPerCubicFoot, kUnitParticlesPerCubicMeter, 35.31466672},
    PairFactor{kUnitParticlesPerCubicMeter, kUnitParticlesPerCubicFoot, 0.02831684659},
    PairFactor{kUnitFeetPerMinute, kUnitMetersPerSecond, kFeetToMetres / kSecondsPerMinute},
    PairFactor{kUnitMetersPerSecond, kUnitFeetPerMinute, kMetresToFeet* kSecondsPerMinute},
    PairFactor{kUnitVolts, kUnitMillivolts, kUnitToMilli},
    PairFactor{kUnitMillivolts, kUnitVolts, kMilliToUnit},
    PairFactor{kUnitAmps, kUnitMilliamps, kUnitToMilli},
    PairFactor{kUnitMilliamps, kUnitAmps, kMilliToUnit},
    PairFactor{kUnitOhms, kUnitMilliohms, kUnitToMilli},
    PairFactor{kUnitMilliohms, kUnitOhms, kMilliToUnit},
};

std::optional<double> PairFactorOf(std::int32_t fromCode, std::int32_t toCode) {
    for (const auto& pair : kPairFactors) {
        if (pair.fromCode == fromCode && pair.toCode == toCode) {
            return pair.factor;
        }
    }
    return std::nullopt;
}

} // namespace

double ConvertUnits(double value, std::int32_t fromCode, std::int32_t toCode) {
    return value * GetConversionFactor(fromCode, toCode) + GetConversionOffset(fromCode, toCode);
}

double GetConversionFactor(std::int32_t fromCode, std::int32_t toCode) {
    if (const auto factor = kTimeFactors.Lookup(fromCode, toCode)) {
        return *factor;
    }
    if (const auto factor = kTemperatureFactors.Lookup(fromCode, toCode)) {
        return *factor;
    }
    if (const auto factor = kPressureFactors.Lookup(fromCode, toCode)) {
        return *factor;
    }
    if (const auto factor = VolumeFactor(fromCode, toCode)) {
        return *factor;
    }
    return PairFactorOf(fromCode, toCode).value_or(1.0);
}

double GetConversionOffset(std::int32_t fromCode, std::int32_t toCode) {
    return kTemperatureOffsets.Lookup(fromCode, toCode).value_or(0.0);
}

} // namespace kestrix::modUnits
