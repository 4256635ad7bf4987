#include "kestrix/data/modUnits.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kestrix::modUnits {

namespace {

struct UnitTexts {
    std::string_view parseText;
    std::string_view shortName;
    std::string_view longName;
};

// Entry i describes unit code i + 1.
constexpr std::array<UnitTexts, kLastUnitCode> kUnits{{
    {"#", "Counts", "Counts"},
    {"%", "%", "percent"},
    {"s", "s", "seconds"},
    {"min", "m", "minutes"},
    {"hour", "h", "hours"},
    {"F", "F", "Fahrenheit"},
    {"C", "C", "Celsius"},
    {"K", "K", "Kelvin"},
    {"ft", "ft", "feet"},
    {"m", "m", "meters"},
    {"ft^2", "ft^2", "square feet"},
    {"m^2", "m^2", "square meters"},
    {"ft^3", "ft^3", "cubic feet"},
    {"m^3", "m^3", "cubic meters"},
    {"L", "L", "liters"},
    {"CFM", "CFM", "CubicFeet/minute"},
    {"CMM", "CMM", "CubicMeters/minute"},
    {"LPM", "L/m", "liters/minute"},
    {"p/f3", "p/ft^3", "particles/ft^3"},
    {"p/m3", "p/m^3", "particles/m^3"},
    {"ft/m", "ft/min", "feet/minute"},
    {"m/s", "m/sec", "meters/second"},
    {"\"H2O", "\"H2O", "Inches of Water"},
    {"\"Hg", "\"Hg", "Inches of Mercury"},
    {"mmWa", "mmH2O", "Millimeters of Water"},
    {"mmHg", "mmHg", "Millimeters of Mercury"},
    {"cmHg", "cmHg", "Centimeters of Mercury"},
    {"Pa", "Pa", "pascals"},
    {"kPa", "kPa", "kilopascals"},
    {"Bar", "Bar", "Bar"},
    {"mBar", "mBar", "millibar"},
    {"V", "V", "volts"},
    {"mV", "mV", "millivolts"},
    {"A", "A", "Amps"},
    {"mA", "mA", "milli-amps"},
    {"Ohm", "Ohms", "Ohms"},
    {"mOhm", "mOhms", "milli-Ohms"},
    {"ml", "ml", "milliliters"},
    {"MLPM", "ml/m", "milliliters/minute"},
    {"ug/m3", "ug/m^3", "micrograms/m^3"},
}};

char FoldAsciiCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldAsciiCase(x) == FoldAsciiCase(y);
           });
}

const UnitTexts* FindUnit(std::int32_t code) {
    if (code < kFirstUnitCode || code > kLastUnitCode) {
        return nullptr;
    }
    return &kUnits[static_cast<std::size_t>(code - kFirstUnitCode)];
}

} // namespace

std::int32_t GetUnitCode(const std::string& unitText) {
    const auto found =
        std::find_if(kUnits.begin(), kUnits.end(), [&unitText](const UnitTexts& unit) {
            return EqualIgnoringAsciiCase(unit.parseText, unitText);
        });
    if (found == kUnits.end()) {
        return kUnitNone;
    }
    return static_cast<std::int32_t>(found - kUnits.begin()) + kFirstUnitCode;
}

std::string GetUnitShortName(std::int32_t code) {
    const UnitTexts* unit = FindUnit(code);
    return unit != nullptr ? std::string(unit->shortName) : std::string{};
}

std::string GetUnitLongName(std::int32_t code) {
    const UnitTexts* unit = FindUnit(code);
    return unit != nullptr ? std::string(unit->longName) : std::string{};
}

} // namespace kestrix::modUnits
