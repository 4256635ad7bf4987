#include "kestrix/data/modDataType.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

namespace kestrix::modDataType {

namespace {

constexpr std::string_view kNormalizedCountPrefix = "C";
constexpr std::string_view kMassConcentrationPrefix = "MC";
constexpr std::string_view kParticulateMatterPrefix = "PM";
constexpr std::string_view kMicronSuffix = " micron";

constexpr std::array<std::pair<std::string_view, std::string_view>, 16> kFixedTitles{{
    {"TIME", "Timestamp"},
    {"STIM", "Sample Time"},
    {"SVOL", "Sample Volume"},
    {"LOC", "Location"},
    {"STAT", "Status"},
    {"TEMP", "Temperature"},
    {"RH", "Relative Humidity"},
    {"AIRV", "Air Velocity"},
    {"DPRS", "Diff. Pressure"},
    {"ESD", "ESD"},
    {"VOLT", "Voltage"},
    {"FLOW", "Flow Rate"},
    {"LASV", "Laser Voltage"},
    {"PRES", "Pressure"},
    {"VAC", "Vacuum"},
    {"TPM", "TPM"},
}};

constexpr std::array<std::string_view, 6> kNonAnalogTags{"LOC",  "TIME", "STAT",
                                                         "FLOW", "LASV", "VAC"};

bool IsSizeCharacter(char c) {
    return (c >= '0' && c <= '9') || c == ' ' || c == '.';
}

bool IsSizeText(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsSizeCharacter);
}

// The size part of a derived tag, or an empty view when the tag is not of
// that form. A derived tag is at least two characters longer than its prefix.
std::string_view SizeAfterPrefix(std::string_view tag, std::string_view prefix) {
    if (tag.size() < prefix.size() + 2 || !tag.starts_with(prefix)) {
        return {};
    }
    const std::string_view size = tag.substr(prefix.size());
    return IsSizeText(size) ? size : std::string_view{};
}

// Reads a size text the way a numeric scan does: blanks are ignored and the
// number ends at a second decimal point.
std::string NumberDigits(std::string_view size) {
    std::string digits;
    bool seenPoint = false;
    for (const char c : size) {
        if (c == ' ') {
            continue;
        }
        if (c == '.') {
            if (seenPoint) {
                break;
            }
            seenPoint = true;
        }
        digits.push_back(c);
    }
    return digits;
}

// At least one and at most five decimals, no grouping, always a point.
std::string FormatSize(std::string_view size) {
    const double value = ParticleSizeValue(size);
    if (std::isinf(value)) {
        return std::string(size);
    }
    std::array<char, 400> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::fixed, 5);
    std::string text(buffer.data(), written.ptr);
    const auto lastKept = text.find_last_not_of('0');
    text.erase(text[lastKept] == '.' ? lastKept + 2 : lastKept + 1);
    return text;
}

std::string MakeDerivedType(std::string_view prefix, const std::string& size) {
    return IsSizeText(size) ? std::string(prefix) + size : std::string{};
}

} // namespace

std::string GetDataTypeName(const std::string& tag) {
    if (const auto size = SizeAfterPrefix(tag, kMassConcentrationPrefix); !size.empty()) {
        return FormatSize(size) + std::string(kMicronSuffix);
    }
    if (const auto size = SizeAfterPrefix(tag, kParticulateMatterPrefix); !size.empty()) {
        return std::string(kParticulateMatterPrefix) + FormatSize(size);
    }
    if (const auto size = SizeAfterPrefix(tag, kNormalizedCountPrefix); !size.empty()) {
        return FormatSize(size) + std::string(kMicronSuffix);
    }
    if (IsSizeText(tag)) {
        return FormatSize(tag) + std::string(kMicronSuffix);
    }
    const auto fixed = std::find_if(kFixedTitles.begin(), kFixedTitles.end(),
                                    [&tag](const auto& entry) { return entry.first == tag; });
    return fixed != kFixedTitles.end() ? std::string(fixed->second) : tag;
}

bool IsParticleSizeType(const std::string& tag) {
    return IsSizeText(tag);
}

bool IsNormalizedCountType(const std::string& tag) {
    return !SizeAfterPrefix(tag, kNormalizedCountPrefix).empty();
}

bool IsMassConcentrationType(const std::string& tag) {
    return !SizeAfterPrefix(tag, kMassConcentrationPrefix).empty();
}

bool IsParticulateMatterType(const std::string& tag) {
    return !SizeAfterPrefix(tag, kParticulateMatterPrefix).empty();
}

std::string GetNormalizedCountSize(const std::string& tag) {
    return std::string(SizeAfterPrefix(tag, kNormalizedCountPrefix));
}

std::string GetMassConcentrationSize(const std::string& tag) {
    return std::string(SizeAfterPrefix(tag, kMassConcentrationPrefix));
}

std::string GetParticulateMatterSize(const std::string& tag) {
    return std::string(SizeAfterPrefix(tag, kParticulateMatterPrefix));
}

std::string MakeNormalizedCountType(const std::string& size) {
    return MakeDerivedType(kNormalizedCountPrefix, size);
}

std::string MakeMassConcentrationType(const std::string& size) {
    return MakeDerivedType(kMassConcentrationPrefix, size);
}

std::string MakeParticulateMatterType(const std::string& size) {
    return MakeDerivedType(kParticulateMatterPrefix, size);
}

bool IsAnalogChannelType(const std::string& tag) {
    return std::find(kNonAnalogTags.begin(), kNonAnalogTags.end(), tag) == kNonAnalogTags.end();
}

double ParticleSizeValue(std::string_view size) {
    const std::string digits = NumberDigits(size);
    double value = 0.0;
    const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                        std::chars_format::fixed);
    if (parsed.ec == std::errc::result_out_of_range) {
        return std::numeric_limits<double>::infinity();
    }
    return parsed.ec == std::errc{} ? value : 0.0;
}

} // namespace kestrix::modDataType
