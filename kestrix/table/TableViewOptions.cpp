#include "kestrix/table/TableViewOptions.h"

#include "kestrix/shell/modConfig.h"

namespace kestrix::table {

std::int32_t TableViewOptions::EffectiveParticleNormUnits() const {
    const bool known = particleNormUnits == modUnits::kUnitParticlesPerCubicFoot ||
                       particleNormUnits == modUnits::kUnitParticlesPerCubicMeter;
    return known ? particleNormUnits : modUnits::kUnitParticlesPerCubicFoot;
}

TableViewOptions ReadTableViewOptions(const modConfig::ConfigStore& store) {
    using namespace modConfig::settings;
    TableViewOptions options;
    options.particleNormUnits = store.Get(kUnitParticleNorm);
    options.sampleTimeUnits = store.Get(kUnitSampleTime);
    options.sampleVolumeUnits = store.Get(kUnitSampleVolume);
    options.temperatureUnits = store.Get(kUnitTemperature);
    options.airVelocityUnits = store.Get(kUnitAirVelocity);
    options.diffPressureUnits = store.Get(kUnitDiffPressure);
    options.particleDifferential = store.Get(kParticleDifferential);
    options.locationNameSource = store.Get(kLocationNameSource);
    options.showInstrumentInfo = store.Get(kShowInstrumentInfo);
    options.showLocationNumbers = store.Get(kShowLocationNumbers);
    options.showLocationNames = store.Get(kShowLocationNames);
    options.showParticleRaw = store.Get(kShowParticleRaw);
    options.showParticleNorm = store.Get(kShowParticleNorm);
    options.showMassConcentrations = store.Get(kShowMassConcentrations);
    options.showParticulateMatter = store.Get(kShowParticulateMatter);
    options.showSampleTime = store.Get(kShowSampleTime);
    options.showSampleVolume = store.Get(kShowSampleVolume);
    options.showEnvironmentals = store.Get(kShowEnvironmentals);
    options.isoDates = store.Get(kIsoDates);
    return options;
}

} // namespace kestrix::table
