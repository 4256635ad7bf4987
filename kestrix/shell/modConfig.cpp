#include "kestrix/shell/modConfig.h"

#include "kestrix/ini/IniFile.h"
#include "kestrix/shell/locationNameKeys.h"

#include <cstdio>
#include <filesystem>

namespace kestrix::modConfig {

namespace {

using namespace locationNames;

struct SettingDefinition {
    ConfigSetting number;
    const char* section;
    const char* key;
    std::int32_t defaultValue;
};

// Rows in load and save order.
constexpr std::array<SettingDefinition, kSettingCount> kSettings{{
    {kComPort, "driver", "com_port", 1},
    {kDeviceAddress, "driver", "device_address", 0},
    {kShowConfigBar, "main_window", "show_config_bar", 1},
    {kParticleDifferential, "data_table", "particle_differential", 1},
    {kLocationNameSource, "data_table", "location_name_source", 0},
    {kShowInstrumentInfo, "data_table", "show_instrument_info", 1},
    {kShowLocationNumbers, "data_table", "show_location_numbers", 0},
    {kShowLocationNames, "data_table", "show_location_names", 1},
    {kShowParticleRaw, "data_table", "show_particle_raw", 1},
    {kShowParticleNorm, "data_table", "show_particle_norm", 0},
    {kShowMassConcentrations, "data_table", "show_mass_concentrations", 1},
    {kShowParticulateMatter, "data_table", "show_particulate_matter", 1},
    {kShowSampleTime, "data_table", "show_sample_time", 1},
    {kShowSampleVolume, "data_table", "show_sample_volume", 1},
    {kShowEnvironmentals, "data_table", "show_environmentals", 1},
    {kUnitParticleNorm, "units", "particle_norm", 19},
    {kUnitSampleTime, "units", "sample_time", 3},
    {kUnitSampleVolume, "units", "sample_volume", 13},
    {kUnitTemperature, "units", "temperature", 6},
    {kUnitAirVelocity, "units", "air_velocity", 21},
    {kUnitDiffPressure, "units", "diff_pressure", 23},
}};

bool IsSettingNumber(std::int32_t setting) {
    return setting >= 0 && setting < kSettingCount;
}
bool IsLocationIndex(std::int32_t index) {
    return index >= 0 && index < kLocationCount;
}

} // namespace

ConfigStore::ConfigStore() = default;

bool ConfigStore::LoadConfig(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    IniFile file(path);
    file.Load(); // an unreadable file leaves every entry at its default
    LoadSettings(file);
    LoadNames(file);
    path_ = path;
    return true;
}

void ConfigStore::LoadSettings(const IniFile& file) {
    for (const SettingDefinition& setting : kSettings) {
        settings_[setting.number] = clsConfigObj{
            false, setting.number, file.GetInt(setting.section, setting.key, setting.defaultValue)};
    }
}

void ConfigStore::LoadNames(const IniFile& file) {
    for (std::int32_t index = 0; index < kLocationCount; ++index) {
        const std::string key = ThreeDigitKey(index);
        longNames_[index] = clsConfigObj{
            false, index,
            file.GetString(kLongNameSection, key, DefaultLongName(index), kLongNameMaxChars + 1)};
        shortNames_[index] =
            clsConfigObj{false, index,
                         file.GetString(kShortNameSection, key, DefaultShortName(index),
                                        kShortNameMaxChars + 1)};
    }
}

bool ConfigStore::SaveConfig() {
    if (path_.empty()) {
        return false;
    }
    CreateFolderPath(std::filesystem::path(path_).parent_path().string());
    IniFile file(path_);
    // A file that exists but cannot be read is left alone rather than
    // replaced by one holding only the changed entries.
    if (!file.Load()) {
        return false;
    }
    return !ApplyChanges(file) || file.Save();
}

// True when anything was changed, so a run without changes leaves the file untouched.
bool ConfigStore::ApplyChanges(IniFile& file) const {
    bool changed = false;
    for (const SettingDefinition& setting : kSettings) {
        const clsConfigObj& entry = settings_[setting.number];
        if (entry.bHasChanged) {
            file.SetString(setting.section, setting.key,
                           std::to_string(std::get<std::int32_t>(entry.vValue)));
            changed = true;
        }
    }
    for (std::int32_t index = 0; index < kLocationCount; ++index) {
        for (const auto& [table, section] : {std::pair{&longNames_, kLongNameSection},
                                             std::pair{&shortNames_, kShortNameSection}}) {
            const clsConfigObj& entry = (*table)[index];
            if (entry.bHasChanged) {
                file.SetString(section, ThreeDigitKey(index), std::get<std::string>(entry.vValue));
                changed = true;
            }
        }
    }
    return changed;
}

std::int32_t ConfigStore::GetConfigValue(std::int32_t setting) const {
    if (path_.empty() || !IsSettingNumber(setting)) {
        return 0;
    }
    return std::get<std::int32_t>(settings_[setting].vValue);
}

bool ConfigStore::SetConfigValue(std::int32_t setting, std::int32_t value) {
    if (path_.empty() || !IsSettingNumber(setting)) {
        return false;
    }
    settings_[setting].vValue = value;
    settings_[setting].bHasChanged = true;
    return true;
}

std::string ConfigStore::GetName(const NameTable& table, std::int32_t index) {
    if (!IsLocationIndex(index)) {
        return {};
    }
    const auto* name = std::get_if<std::string>(&table[index].vValue);
    return name == nullptr ? std::string() : *name;
}

bool ConfigStore::SetName(NameTable& table, std::int32_t index, const std::string& name) {
    if (!IsLocationIndex(index) || name.empty()) {
        return false;
    }
    table[index] = clsConfigObj{true, index, name};
    return true;
}

std::string ConfigStore::GetLongLocationName(std::int32_t index) const {
    return GetName(longNames_, index);
}

std::string ConfigStore::GetShortLocationName(std::int32_t index) const {
    return GetName(shortNames_, index);
}

bool ConfigStore::SetLongLocationName(std::int32_t index, const std::string& name) {
    return !path_.empty() && SetName(longNames_, index, name);
}

bool ConfigStore::SetShortLocationName(std::int32_t index, const std::string& name) {
    return !path_.empty() && SetName(shortNames_, index, name);
}

void CreateFolderPath(const std::string& path) {
    std::string folder = !path.empty() && path.front() == '/' ? "/" : "";
    std::size_t begin = 0;
    while (begin < path.size()) {
        const std::size_t slash = std::min(path.find('/', begin), path.size());
        if (slash > begin) {
            folder += path.substr(begin, slash - begin);
            std::error_code ignored;
            std::filesystem::create_directory(folder, ignored);
            folder += '/';
        }
        begin = slash + 1;
    }
}

ConfigStore& Store() {
    static ConfigStore store;
    return store;
}

} // namespace kestrix::modConfig
