#pragma once

// Unit codes and their texts: the parse text that instruments report, a short
// text for column titles and a long name for unit lists.

#include <cstdint>
#include <string>

namespace kestrix::modUnits {

enum UnitCode : std::int32_t {
    kUnitNone = 0,
    kUnitCounts = 1,
    kUnitPercent = 2,
    kUnitSeconds = 3,
    kUnitMinutes = 4,
    kUnitHours = 5,
    kUnitFahrenheit = 6,
    kUnitCelsius = 7,
    kUnitKelvin = 8,
    kUnitFeet = 9,
    kUnitMeters = 10,
    kUnitSquareFeet = 11,
    kUnitSquareMeters = 12,
    kUnitCubicFeet = 13,
    kUnitCubicMeters = 14,
    kUnitLiters = 15,
    kUnitCubicFeetPerMinute = 16,
    kUnitCubicMetersPerMinute = 17,
    kUnitLitersPerMinute = 18,
    kUnitParticlesPerCubicFoot = 19,
    kUnitParticlesPerCubicMeter = 20,
    kUnitFeetPerMinute = 21,
    kUnitMetersPerSecond = 22,
    kUnitInchesOfWater = 23,
    kUnitInchesOfMercury = 24,
    kUnitMillimetersOfWater = 25,
    kUnitMillimetersOfMercury = 26,
    kUnitCentimetersOfMercury = 27,
    kUnitPascals = 28,
    kUnitKilopascals = 29,
    kUnitBar = 30,
    kUnitMillibar = 31,
    kUnitVolts = 32,
    kUnitMillivolts = 33,
    kUnitAmps = 34,
    kUnitMilliamps = 35,
    kUnitOhms = 36,
    kUnitMilliohms = 37,
    kUnitMilliliters = 38,
    kUnitMillilitersPerMinute = 39,
    kUnitMicrogramsPerCubicMeter = 40,
};

constexpr std::int32_t kFirstUnitCode = kUnitCounts;
constexpr std::int32_t kLastUnitCode = kUnitMicrogramsPerCubicMeter;

// The code whose parse text equals the text ignoring ASCII letter case;
// kUnitNone when there is none.
std::int32_t GetUnitCode(const std::string& unitText);

// "" for a code outside kFirstUnitCode..kLastUnitCode.
std::string GetUnitShortName(std::int32_t code);
std::string GetUnitLongName(std::int32_t code);

} // namespace kestrix::modUnits
