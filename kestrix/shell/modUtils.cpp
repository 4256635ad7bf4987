#include "kestrix/shell/modUtils.h"

#include "kestrix/data/modDataType.h"
#include "kestrix/shell/numberFormat.h"
#include "kestrix/shell/userLocale.h"

#include <algorithm>
#include <array>

namespace kestrix::modUtils {
namespace {

using namespace kestrix::modDataType;

constexpr double kUnixEpochDays = 25569.0; // 1970-01-01 in days since 1899-12-30
constexpr double kSecondsPerDay = 86400.0;

constexpr std::array<std::uint8_t, 6> kMaskedBitOrder = {
    kStatusLaserVoltageBad, kStatusFlowRateBad,       kStatusMalfunction,
    kStatusDataOverflow,    kStatusPirrowMalfunction, kStatusThresholdExceeded,
};

NumberSymbols PointSymbols() {
    const std::string group = UserLocale().groupSeparator().toStdString();
    return {".", group == "." ? "," : group};
}

bool HasBit(std::uint8_t status, std::uint8_t bit) {
    return (status & bit) != 0;
}

std::string PadTo(const std::string& text, std::int16_t length, char filler) {
    std::string padded = TrimAtNul(text);
    padded.resize(static_cast<std::size_t>(std::max<std::int16_t>(length, 0)), filler);
    return padded;
}

bool IsShortNameByte(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || byte == '_' ||
           byte == '\0';
}

std::uint8_t ByteAt(const std::string& text, std::size_t index) {
    return static_cast<std::uint8_t>(text[index]);
}

} // namespace

std::string GetDecimalSeparator() {
    return UserLocale().decimalPoint().toStdString();
}

std::string FormatWithPoint(double value, const std::string& format) {
    if (const auto pattern = ParseNumberPattern(format)) {
        return FormatNumber(value, *pattern, PointSymbols());
    }
    return FormatGeneral(value, ".");
}

bool IsStatusOk(std::uint8_t status) {
    return status == 0;
}

bool IsLaserVoltageBad(std::uint8_t status) {
    return HasBit(status, kStatusLaserVoltageBad);
}

bool IsFlowRateBad(std::uint8_t status) {
    return HasBit(status, kStatusFlowRateBad);
}

bool IsDataOverflowed(std::uint8_t status) {
    return HasBit(status, kStatusDataOverflow);
}

bool IsInstrumentMalfunction(std::uint8_t status) {
    return HasBit(status, kStatusMalfunction);
}

bool IsThresholdExceeded(std::uint8_t status) {
    return HasBit(status, kStatusThresholdExceeded);
}

bool IsPirrowMalfunction(std::uint8_t status) {
    return HasBit(status, kStatusPirrowMalfunction);
}

Rgb GetStatusColor(std::uint8_t status) {
    if (IsInstrumentMalfunction(status) || IsLaserVoltageBad(status)) {
        return {255, 0, 255};
    }
    if (IsFlowRateBad(status)) {
        return {0, 0, 255};
    }
    if (IsDataOverflowed(status) || IsPirrowMalfunction(status)) {
        return {255, 128, 32};
    }
    if (IsThresholdExceeded(status)) {
        return {255, 0, 0};
    }
    return {0, 0, 0};
}

std::uint8_t MaskStatusBits(const std::string& dataType, std::uint8_t status) {
    std::uint8_t masked = 0;
    for (const std::uint8_t bit : kMaskedBitOrder) {
        if (HasBit(status, bit) && StatusAppliesToType(dataType, bit)) {
            masked |= bit;
        }
    }
    return masked;
}

std::string TrimAtNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

std::string PadWithNul(const std::string& text, std::int16_t length) {
    return PadTo(text, length, '\0');
}

std::string PadWithSpaces(const std::string& text, std::int16_t length) {
    return PadTo(text, length, ' ');
}

bool IsValidShortName(const std::string& name) {
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return IsShortNameByte(static_cast<unsigned char>(c)); });
}

int FindFirstDuplicate(const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (std::find(names.begin() + static_cast<std::ptrdiff_t>(i) + 1, names.end(), names[i]) !=
            names.end()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int FindNameElsewhere(const std::vector<std::string>& names, const std::string& name,
                      int skipIndex) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (static_cast<int>(i) != skipIndex && names[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::int16_t TextToRegister(const std::string& text, std::int16_t position, bool highFirst) {
    if (position < 1 || text.size() < static_cast<std::size_t>(position)) {
        return 0;
    }
    const std::size_t first = static_cast<std::size_t>(position) - 1;
    if (first + 1 == text.size()) {
        return ByteAt(text, first);
    }
    const std::uint8_t a = ByteAt(text, first);
    const std::uint8_t b = ByteAt(text, first + 1);
    return highFirst ? MakeWord(a, b) : MakeWord(b, a);
}

std::int16_t MakeWord(std::uint8_t high, std::uint8_t low) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(high << 8 | low));
}

std::int32_t MakeLong(std::int16_t high, std::int16_t low) {
    const auto bits = static_cast<std::uint32_t>(static_cast<std::uint16_t>(high)) << 16 |
                      static_cast<std::uint16_t>(low);
    return static_cast<std::int32_t>(bits);
}

std::int16_t ShiftRight16(std::int16_t value, std::int16_t count) {
    if (count <= 0) {
        return value;
    }
    if (count > 15) {
        return 0;
    }
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value) >> count);
}

std::uint8_t AddBytes(std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>(a + b);
}

DateTime SecondsToDate(std::int32_t seconds) {
    return kUnixEpochDays + std::max(seconds, 0) / kSecondsPerDay;
}

} // namespace kestrix::modUtils
