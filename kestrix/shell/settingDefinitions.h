#pragma once

// The numbered settings of the configuration store, each defined once: its number, where it lives
// in the INI file, its type, default and range. A stored value that is not a number or lies
// outside the range reads as the default.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string_view>

namespace kestrix::modConfig {

// The numbers callers pass to GetConfigValue and SetConfigValue.
enum ConfigSetting : std::int32_t {
    kComPort = 0,
    kDeviceAddress = 1,
    kShowConfigBar = 2,
    kUnitParticleNorm = 3,
    kUnitSampleTime = 4,
    kUnitSampleVolume = 5,
    kUnitTemperature = 6,
    kUnitAirVelocity = 7,
    kUnitDiffPressure = 8,
    kParticleDifferential = 9,
    kLocationNameSource = 10,
    kShowInstrumentInfo = 11,
    kShowLocationNumbers = 12,
    kShowLocationNames = 13,
    kShowParticleRaw = 14,
    kShowParticleNorm = 15,
    kShowMassConcentrations = 16,
    kShowParticulateMatter = 17,
    kShowSampleTime = 18,
    kShowSampleVolume = 19,
    kShowEnvironmentals = 20,
    kIsoDates = 21,
    kLastFoundAddress = 22,
    kScanReplyTimeout = 23,
};

inline constexpr std::int32_t kSettingCount = 24;

struct SettingDefinition {
    ConfigSetting number;
    std::string_view section;
    std::string_view key;
    std::int32_t defaultValue;
    std::int32_t min = 0;
    std::int32_t max = std::numeric_limits<std::int32_t>::max();

    // What a stored value reads as: the default for none or one out of range.
    std::int32_t Read(std::optional<std::int32_t> stored) const;
    // A setting that shapes the data table and the charts.
    bool IsViewOption() const;
};

// Texts kept in the configuration file beside the numbered settings, read and written by the
// feature that uses them: who tests a room, for the classification report's identification.
struct TextSettingDefinition {
    std::string_view section;
    std::string_view key;
    std::size_t maxLength; // in UTF-8 characters
};

// A setting read and written as T: bool for a check box, std::int32_t for a code or number.
template <typename T>
struct Setting {
    SettingDefinition definition;
};

namespace settings {

// Ports COM1..COM32; addresses 0 (auto-detect) to 99.
inline constexpr Setting<std::int32_t> kComPort{
    {modConfig::kComPort, "driver", "com_port", 1, 1, 32}};
inline constexpr Setting<std::int32_t> kDeviceAddress{
    {modConfig::kDeviceAddress, "driver", "device_address", 0, 0, 99}};
// Where auto-detect looks first, and its quick pass's reply timeout in ms.
inline constexpr Setting<std::int32_t> kLastFoundAddress{
    {modConfig::kLastFoundAddress, "driver", "last_found_address", 0, 0, 99}};
inline constexpr Setting<std::int32_t> kScanReplyTimeout{
    {modConfig::kScanReplyTimeout, "driver", "scan_reply_timeout", 100, 10, 1000}};
inline constexpr Setting<bool> kShowConfigBar{
    {modConfig::kShowConfigBar, "main_window", "show_config_bar", 1, 0, 1}};
inline constexpr Setting<bool> kParticleDifferential{
    {modConfig::kParticleDifferential, "data_table", "particle_differential", 1, 0, 1}};
inline constexpr Setting<std::int32_t> kLocationNameSource{
    {modConfig::kLocationNameSource, "data_table", "location_name_source", 0, 0, 2}};
inline constexpr Setting<bool> kShowInstrumentInfo{
    {modConfig::kShowInstrumentInfo, "data_table", "show_instrument_info", 1, 0, 1}};
inline constexpr Setting<bool> kShowLocationNumbers{
    {modConfig::kShowLocationNumbers, "data_table", "show_location_numbers", 0, 0, 1}};
inline constexpr Setting<bool> kShowLocationNames{
    {modConfig::kShowLocationNames, "data_table", "show_location_names", 1, 0, 1}};
inline constexpr Setting<bool> kShowParticleRaw{
    {modConfig::kShowParticleRaw, "data_table", "show_particle_raw", 1, 0, 1}};
inline constexpr Setting<bool> kShowParticleNorm{
    {modConfig::kShowParticleNorm, "data_table", "show_particle_norm", 0, 0, 1}};
inline constexpr Setting<bool> kShowMassConcentrations{
    {modConfig::kShowMassConcentrations, "data_table", "show_mass_concentrations", 1, 0, 1}};
inline constexpr Setting<bool> kShowParticulateMatter{
    {modConfig::kShowParticulateMatter, "data_table", "show_particulate_matter", 1, 0, 1}};
inline constexpr Setting<bool> kShowSampleTime{
    {modConfig::kShowSampleTime, "data_table", "show_sample_time", 1, 0, 1}};
inline constexpr Setting<bool> kShowSampleVolume{
    {modConfig::kShowSampleVolume, "data_table", "show_sample_volume", 1, 0, 1}};
inline constexpr Setting<bool> kShowEnvironmentals{
    {modConfig::kShowEnvironmentals, "data_table", "show_environmentals", 1, 0, 1}};
// Time stamps as ISO 8601 ("2023-11-14 22:13:20") in the table and CSV files instead of the
// locale's short date.
inline constexpr Setting<bool> kIsoDates{
    {modConfig::kIsoDates, "data_table", "iso_dates", 0, 0, 1}};
// A unit code's range is the run of codes its quantity offers.
inline constexpr Setting<std::int32_t> kUnitParticleNorm{
    {modConfig::kUnitParticleNorm, "units", "particle_norm", 19, 19, 20}};
inline constexpr Setting<std::int32_t> kUnitSampleTime{
    {modConfig::kUnitSampleTime, "units", "sample_time", 3, 3, 5}};
inline constexpr Setting<std::int32_t> kUnitSampleVolume{
    {modConfig::kUnitSampleVolume, "units", "sample_volume", 13, 13, 15}};
inline constexpr Setting<std::int32_t> kUnitTemperature{
    {modConfig::kUnitTemperature, "units", "temperature", 6, 6, 8}};
inline constexpr Setting<std::int32_t> kUnitAirVelocity{
    {modConfig::kUnitAirVelocity, "units", "air_velocity", 21, 21, 22}};
inline constexpr Setting<std::int32_t> kUnitDiffPressure{
    {modConfig::kUnitDiffPressure, "units", "diff_pressure", 23, 23, 31}};

inline constexpr TextSettingDefinition kReportOrganisation{"report", "organisation", 200};
inline constexpr TextSettingDefinition kReportAddress{"report", "address", 400};
inline constexpr TextSettingDefinition kReportTester{"report", "tester", 200};

} // namespace settings

// Every setting in load and save order.
std::span<const SettingDefinition* const> AllSettings();
// The definition of a setting number in 0..kSettingCount - 1.
const SettingDefinition& Definition(ConfigSetting setting);

} // namespace kestrix::modConfig
