// Units offered per quantity and decimals per quantity.

#include "kestrix/calc/unitConversion.h"
#include "kestrix/data/modDataType.h"
#include "kestrix/data/modUnits.h"

#include <array>
#include <charconv>
#include <span>
#include <string_view>

namespace kestrix::modUnits {

namespace {

constexpr std::array kSampleTimeUnits{kUnitSeconds, kUnitMinutes, kUnitHours};
constexpr std::array kSampleVolumeUnits{kUnitCubicFeet, kUnitCubicMeters, kUnitLiters};
constexpr std::array kTemperatureUnits{kUnitFahrenheit, kUnitCelsius, kUnitKelvin};
constexpr std::array kHumidityUnits{kUnitPercent};
constexpr std::array kAirVelocityUnits{kUnitFeetPerMinute, kUnitMetersPerSecond};
constexpr std::array kPressureUnits{kUnitInchesOfWater,
                                    kUnitInchesOfMercury,
                                    kUnitMillimetersOfWater,
                                    kUnitMillimetersOfMercury,
                                    kUnitCentimetersOfMercury,
                                    kUnitPascals,
                                    kUnitKilopascals,
                                    kUnitBar,
                                    kUnitMillibar};
constexpr std::array kVoltageUnits{kUnitVolts, kUnitMillivolts};
constexpr std::array kFlowUnits{kUnitCubicFeetPerMinute, kUnitCubicMetersPerMinute,
                                kUnitLitersPerMinute};

// At most this many positions are asked for when a list of choices is built.
constexpr std::int16_t kMaxChoicePositions = 101;

std::span<const UnitCode> ChoicesOf(std::string_view tag) {
    if (tag == "STIM") {
        return kSampleTimeUnits;
    }
    if (tag == "SVOL") {
        return kSampleVolumeUnits;
    }
    if (tag == "TEMP") {
        return kTemperatureUnits;
    }
    if (tag == "RH") {
        return kHumidityUnits;
    }
    if (tag == "AIRV") {
        return kAirVelocityUnits;
    }
    if (tag == "DPRS" || tag == "PRES") {
        return kPressureUnits;
    }
    if (tag == "ESD" || tag == "VOLT" || tag == "LASV") {
        return kVoltageUnits;
    }
    if (tag == "FLOW") {
        return kFlowUnits;
    }
    return {};
}

} // namespace

std::string GetUnitChoice(const std::string& tag, std::int16_t index) {
    const auto choices = ChoicesOf(tag);
    if (index < 0 || static_cast<std::size_t>(index) >= choices.size()) {
        return "0";
    }
    return std::to_string(static_cast<std::int32_t>(choices[static_cast<std::size_t>(index)]));
}

std::vector<std::int32_t> GetUnitChoices(const std::string& tag) {
    std::vector<std::int32_t> codes;
    for (std::int16_t position = 0; position < kMaxChoicePositions; ++position) {
        const std::string choice = GetUnitChoice(tag, position);
        std::int32_t code = 0;
        std::from_chars(choice.data(), choice.data() + choice.size(), code);
        if (code == 0) {
            break;
        }
        codes.push_back(code);
    }
    return codes;
}

int GetDecimalPlaces(const std::string& tag, std::int32_t unitCode) {
    if (modDataType::IsNormalizedCountType(tag)) {
        return 1;
    }
    if (modDataType::IsMassConcentrationType(tag) || modDataType::IsParticulateMatterType(tag)) {
        return 2;
    }
    if (modDataType::IsParticleSizeType(tag)) {
        return 0;
    }
    if (tag == "STIM") {
        return unitCode == kUnitSeconds ? 0 : 3;
    }
    if (tag == "AIRV") {
        return unitCode == kUnitMetersPerSecond ? 3 : 1;
    }
    if (tag == "TEMP" || tag == "RH") {
        return 1;
    }
    if (tag == "SVOL") {
        return unitCode == kUnitLiters ? 1 : 3;
    }
    if (tag == "TPM") {
        return 2;
    }
    return 3;
}

} // namespace kestrix::modUnits
