#include "kestrix/table/TableViewOptions.h"

#include "kestrix/shell/modConfig.h"

namespace kestrix::table {

std::int32_t TableViewOptions::EffectiveParticleNormUnits() const {
    const bool known = particleNormUnits == modUnits::kUnitParticlesPerCubicFoot ||
                       particleNormUnits == modUnits::kUnitParticlesPerCubicMeter;
    return known ? particleNormUnits : modUnits::kUnitParticlesPerCubicFoot;
}

TableViewOptions ReadTableViewOptions(const modConfig::ConfigStore& store) {
    using namespace modConfig;
    const auto value = [&store](ConfigSetting setting) { return store.GetConfigValue(setting); };
    const auto on = [&store](ConfigSetting setting) { return store.GetConfigValue(setting) != 0; };
    TableViewOptions options;
    options.particleNormUnits = value(kUnitParticleNorm);
    options.sampleTimeUnits = value(kUnitSampleTime);
    options.sampleVolumeUnits = value(kUnitSampleVolume);
    options.temperatureUnits = value(kUnitTemperature);
    options.airVelocityUnits = value(kUnitAirVelocity);
    options.diffPressureUnits = value(kUnitDiffPressure);
    options.particleDifferential = on(kParticleDifferential);
    options.locationNameSource = value(kLocationNameSource);
    options.showInstrumentInfo = on(kShowInstrumentInfo);
    options.showLocationNumbers = on(kShowLocationNumbers);
    options.showLocationNames = on(kShowLocationNames);
    options.showParticleRaw = on(kShowParticleRaw);
    options.showParticleNorm = on(kShowParticleNorm);
    options.showMassConcentrations = on(kShowMassConcentrations);
    options.showParticulateMatter = on(kShowParticulateMatter);
    options.showSampleTime = on(kShowSampleTime);
    options.showSampleVolume = on(kShowSampleVolume);
    options.showEnvironmentals = on(kShowEnvironmentals);
    return options;
}

} // namespace kestrix::table
