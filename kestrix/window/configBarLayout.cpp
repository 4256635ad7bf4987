#include "kestrix/window/configBarLayout.h"

#include "kestrix/calc/unitConversion.h"
#include "kestrix/data/modUnits.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/TableViewOptions.h"

#include <algorithm>
#include <array>

namespace kestrix::window {
namespace {

using namespace modConfig;

constexpr std::array kParticleUnitLists{
    UnitList{"cmbUnitsPartNorm", "Norm. Counts", kUnitParticleNorm},
    UnitList{"cmbUnitsSampleVolume", "Sample Volume", kUnitSampleVolume},
    UnitList{"cmbUnitsSampleTime", "Sample Time", kUnitSampleTime},
};

constexpr std::array kAnalogUnitLists{
    UnitList{"cmbUnitsTemperature", "Temperature", kUnitTemperature},
    UnitList{"cmbUnitsAirVelocity", "Air Velocity", kUnitAirVelocity},
    UnitList{"cmbUnitsDiffPressure", "Diff. Pressure", kUnitDiffPressure},
};

// A check box is keyed by its setting.
BarItem Check(std::string_view control, std::string_view caption, const Setting<bool>& setting,
              bool iaqOnly = false) {
    const SettingDefinition& definition = setting.definition;
    return {definition.key, control, BarControl::CheckBox, caption, definition.number, std::nullopt,
            iaqOnly,        {}};
}

BarItem Button(std::string_view key, std::string_view control, std::string_view caption,
               MainCommand command) {
    return {key, control, BarControl::Button, caption, -1, command, false, {}};
}

BarItem List(std::string_view key, std::string_view control, std::int32_t setting) {
    return {key, control, BarControl::List, "", setting, std::nullopt, false, {}};
}

BarItem Units(std::string_view key, std::string_view control, std::span<const UnitList> lists) {
    return {key, control, BarControl::UnitFrame, "", -1, std::nullopt, false, lists};
}

const std::array kSensorItems{
    Check("chkShowSensorInfo", "Show Instrument Info", settings::kShowInstrumentInfo),
    Check("chkIsoDates", "Show ISO 8601 Dates", settings::kIsoDates),
    Button("download", "cmdDownload", "Download Data", MainCommand::DownloadData),
};

const std::array kLocationItems{
    Check("chkShowLocIDs", "Show Location Numbers", settings::kShowLocationNumbers),
    Check("chkShowLocNames", "Show Location Names", settings::kShowLocationNames),
    List("location_name_source", "cmbLocNameSource", kLocationNameSource),
    Button("setup_locations", "cmdLocations", "Setup My Locations", MainCommand::SetupMyLocations),
    Button("upload", "cmdUpload", "Upload Location Names", MainCommand::UploadLocationNames),
};

const std::array kParticleItems{
    List("particle_type", "cmbPartType", kParticleDifferential),
    Check("chkShowPartRaw", "Show Raw Counts", settings::kShowParticleRaw),
    Check("chkShowPartNorm", "Show Normalized Counts", settings::kShowParticleNorm),
    Check("chkShowMassConcentrations", "Show Mass Concentrations",
          settings::kShowMassConcentrations, true),
    Check("chkShowParticulateMatter", "Show PM and TPM Values", settings::kShowParticulateMatter,
          true),
    Check("chkShowSampleTime", "Show Sample Time", settings::kShowSampleTime),
    Check("chkShowSampleVolume", "Show Sample Volume", settings::kShowSampleVolume),
    Units("particle_units", "fraParticle", kParticleUnitLists),
};

const std::array kAnalogItems{
    Check("chkShowAnalogs", "Show Environmentals", settings::kShowEnvironmentals),
    Units("analog", "fraAnalogs", kAnalogUnitLists),
};

const std::array kGroups{
    BarGroup{"sensor", "Instrument", kSensorItems},
    BarGroup{"locations", "Location", kLocationItems},
    BarGroup{"particle", "Particle", kParticleItems},
    BarGroup{"analog", "Environmental", kAnalogItems},
};

enum class UnitText { Short, Long };

std::vector<ListEntry> UnitEntries(const std::vector<std::int32_t>& codes, UnitText text) {
    std::vector<ListEntry> entries;
    for (const std::int32_t code : codes) {
        entries.push_back({text == UnitText::Short ? modUnits::GetUnitShortName(code)
                                                   : modUnits::GetUnitLongName(code),
                           code});
    }
    return entries;
}

std::vector<ListEntry> UnitEntries(const char* tag, UnitText text) {
    return UnitEntries(modUnits::GetUnitChoices(tag), text);
}

} // namespace

std::span<const BarGroup> ConfigBarGroups() {
    return kGroups;
}

std::vector<ListEntry> ListEntries(std::string_view control) {
    if (control == "cmbLocNameSource") {
        return {{"Use Instrument's Names", table::kInstrumentNames},
                {"Use My Long Names", table::kMyLongNames},
                {"Use My Short Names", table::kMyShortNames}};
    }
    if (control == "cmbPartType") {
        return {{"Cumulative", 0}, {"Differential", 1}};
    }
    if (control == "cmbUnitsPartNorm") {
        return UnitEntries(
            {modUnits::kUnitParticlesPerCubicFoot, modUnits::kUnitParticlesPerCubicMeter},
            UnitText::Short);
    }
    if (control == "cmbUnitsSampleVolume") {
        return UnitEntries("SVOL", UnitText::Long);
    }
    if (control == "cmbUnitsSampleTime") {
        return UnitEntries("STIM", UnitText::Long);
    }
    if (control == "cmbUnitsTemperature") {
        return UnitEntries("TEMP", UnitText::Long);
    }
    if (control == "cmbUnitsAirVelocity") {
        return UnitEntries("AIRV", UnitText::Short);
    }
    if (control == "cmbUnitsDiffPressure") {
        return UnitEntries("DPRS", UnitText::Short);
    }
    return {};
}

int IndexOfValue(const std::vector<ListEntry>& entries, std::int32_t value) {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [value](const ListEntry& e) { return e.value == value; });
    return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

int ListIndexForSetting(std::string_view control, const std::vector<ListEntry>& entries,
                        std::int32_t value) {
    return IndexOfValue(entries, control == "cmbPartType" ? (value != 0 ? 1 : 0) : value);
}

} // namespace kestrix::window
