#include "kestrix/shell/settingDefinitions.h"

#include <algorithm>
#include <array>

namespace kestrix::modConfig {
namespace {

constexpr std::array<const SettingDefinition*, kSettingCount> kAll{
    &settings::kComPort.definition,
    &settings::kDeviceAddress.definition,
    &settings::kLastFoundAddress.definition,
    &settings::kScanReplyTimeout.definition,
    &settings::kShowConfigBar.definition,
    &settings::kParticleDifferential.definition,
    &settings::kLocationNameSource.definition,
    &settings::kShowInstrumentInfo.definition,
    &settings::kShowLocationNumbers.definition,
    &settings::kShowLocationNames.definition,
    &settings::kShowParticleRaw.definition,
    &settings::kShowParticleNorm.definition,
    &settings::kShowMassConcentrations.definition,
    &settings::kShowParticulateMatter.definition,
    &settings::kShowSampleTime.definition,
    &settings::kShowSampleVolume.definition,
    &settings::kShowEnvironmentals.definition,
    &settings::kIsoDates.definition,
    &settings::kUnitParticleNorm.definition,
    &settings::kUnitSampleTime.definition,
    &settings::kUnitSampleVolume.definition,
    &settings::kUnitTemperature.definition,
    &settings::kUnitAirVelocity.definition,
    &settings::kUnitDiffPressure.definition,
};

} // namespace

std::int32_t SettingDefinition::Read(std::optional<std::int32_t> stored) const {
    return stored && *stored >= min && *stored <= max ? *stored : defaultValue;
}

bool SettingDefinition::IsViewOption() const {
    return section == "data_table" || section == "units";
}

std::span<const SettingDefinition* const> AllSettings() {
    return kAll;
}

const SettingDefinition& Definition(ConfigSetting setting) {
    return **std::find_if(kAll.begin(), kAll.end(),
                          [setting](const SettingDefinition* d) { return d->number == setting; });
}

} // namespace kestrix::modConfig
