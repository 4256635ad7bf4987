#pragma once

// The view options and units that shape the data table, read from the configuration store in
// one place so that the window and the command-line tool lay tables out alike.

#include "kestrix/data/modUnits.h"

#include <cstdint>

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::table {

enum LocationNameSource : std::int32_t {
    kInstrumentNames = 0,
    kMyLongNames = 1,
    kMyShortNames = 2,
};

struct TableViewOptions {
    std::int32_t particleNormUnits = modUnits::kUnitParticlesPerCubicFoot;
    std::int32_t sampleTimeUnits = modUnits::kUnitSeconds;
    std::int32_t sampleVolumeUnits = modUnits::kUnitCubicFeet;
    std::int32_t temperatureUnits = modUnits::kUnitFahrenheit;
    std::int32_t airVelocityUnits = modUnits::kUnitFeetPerMinute;
    std::int32_t diffPressureUnits = modUnits::kUnitInchesOfWater;
    bool particleDifferential = true;
    std::int32_t locationNameSource = kInstrumentNames;
    bool showInstrumentInfo = true;
    bool showLocationNumbers = false;
    bool showLocationNames = true;
    bool showParticleRaw = true;
    bool showParticleNorm = false;
    bool showMassConcentrations = true;
    bool showParticulateMatter = true;
    bool showSampleTime = true;
    bool showSampleVolume = true;
    bool showEnvironmentals = true;
    bool isoDates = false; // ISO 8601 time stamps instead of the locale's short date

    // Normalized counts come in p/ft^3 or p/m^3; any other stored code means p/ft^3.
    std::int32_t EffectiveParticleNormUnits() const;
};

// The store's view options (settings 3 to 21).
TableViewOptions ReadTableViewOptions(const modConfig::ConfigStore& store);

} // namespace kestrix::table
