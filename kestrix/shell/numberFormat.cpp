#include "kestrix/shell/numberFormat.h"

#include "kestrix/shell/userLocale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kestrix {
namespace {

constexpr int kSignificantDigits = 15;
constexpr int kLowestFixedExponent = -4;
constexpr int kHighestFixedExponent = 14;

// value = 0.<digits> * 10^pointPosition; no leading or trailing zero digits,
// and zero has no digits at all.
struct DecimalDigits {
    std::string digits;
    int pointPosition = 0;
};

void StripTrailingZeros(DecimalDigits& number) {
    const auto last = number.digits.find_last_not_of('0');
    number.digits.erase(last == std::string::npos ? 0 : last + 1);
    if (number.digits.empty()) {
        number.pointPosition = 0;
    }
}

DecimalDigits ToDecimalDigits(double magnitude) {
    DecimalDigits number;
    if (magnitude == 0.0) {
        return number;
    }
    // "d.<14 digits>e+XX", independent of the C library's locale.
    char text[40];
    const auto end = std::to_chars(text, text + sizeof text, magnitude,
                                   std::chars_format::scientific, kSignificantDigits - 1)
                         .ptr;
    char* exponent = std::find(text, end, 'e');
    number.digits.push_back(text[0]);
    number.digits.append(text + 2, exponent);
    int power = 0;
    std::from_chars(exponent + (exponent[1] == '+' ? 2 : 1), end, power);
    number.pointPosition = power + 1;
    StripTrailingZeros(number);
    return number;
}

void IncrementLastDigit(DecimalDigits& number) {
    auto position = number.digits.size();
    while (position > 0 && number.digits[position - 1] == '9') {
        number.digits[--position] = '0';
    }
    if (position == 0) {
        number.digits.insert(number.digits.begin(), '1');
        ++number.pointPosition;
    } else {
        ++number.digits[position - 1];
    }
}

void RoundToFraction(DecimalDigits& number, int fractionDigits) {
    const int keep = number.pointPosition + fractionDigits;
    if (keep >= static_cast<int>(number.digits.size())) {
        return;
    }
    if (keep < 0) {
        number = {};
        return;
    }
    const bool roundUp = number.digits[keep] >= '5';
    number.digits.resize(keep);
    if (roundUp) {
        IncrementLastDigit(number);
    }
    StripTrailingZeros(number);
}

std::string IntegerDigits(const DecimalDigits& number) {
    if (number.pointPosition <= 0) {
        return {};
    }
    const auto count = static_cast<std::size_t>(number.pointPosition);
    std::string digits = number.digits.substr(0, count);
    digits.append(count - digits.size(), '0');
    return digits;
}

std::string FractionDigits(const DecimalDigits& number) {
    const int size = static_cast<int>(number.digits.size());
    if (number.pointPosition >= size) {
        return {};
    }
    std::string digits(static_cast<std::size_t>(std::max(0, -number.pointPosition)), '0');
    digits.append(number.digits, static_cast<std::size_t>(std::max(0, number.pointPosition)));
    return digits;
}

std::string GroupThousands(const std::string& digits, const std::string& separator) {
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += separator;
        }
        grouped += digits[i];
    }
    return grouped;
}

std::string NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    return value < 0 ? "-Infinity" : "Infinity";
}

std::string JoinParts(bool negative, const std::string& integer, const std::string& separator,
                      const std::string& fraction) {
    std::string text = negative ? "-" : "";
    text += integer;
    if (!fraction.empty()) {
        text += separator + fraction;
    }
    return text;
}

std::string ExponentForm(const DecimalDigits& number, const std::string& decimalSeparator) {
    const int exponent = number.pointPosition - 1;
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+',
                  std::abs(exponent));
    return JoinParts(false, number.digits.substr(0, 1), decimalSeparator, number.digits.substr(1)) +
           exponentText;
}

} // namespace

std::optional<NumberPattern> ParseNumberPattern(std::string_view pattern) {
    NumberPattern parsed;
    bool inFraction = false;
    int integerPlaceholders = 0;
    int firstIntegerZero = -1;
    for (const char c : pattern) {
        if (c == '.' && !inFraction) {
            inFraction = true;
        } else if (c == ',' && !inFraction) {
            parsed.grouping = true;
        } else if ((c == '0' || c == '#') && inFraction) {
            ++parsed.maxFractionDigits;
            if (c == '0') {
                parsed.minFractionDigits = parsed.maxFractionDigits;
            }
        } else if (c == '0' || c == '#') {
            if (c == '0' && firstIntegerZero < 0) {
                firstIntegerZero = integerPlaceholders;
            }
            ++integerPlaceholders;
        } else {
            return std::nullopt;
        }
    }
    if (integerPlaceholders + parsed.maxFractionDigits == 0) {
        return std::nullopt;
    }
    parsed.minIntegerDigits = firstIntegerZero < 0 ? 0 : integerPlaceholders - firstIntegerZero;
    return parsed;
}

std::string FormatNumber(double value, const NumberPattern& pattern, const NumberSymbols& symbols) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    DecimalDigits number = ToDecimalDigits(std::fabs(value));
    RoundToFraction(number, pattern.maxFractionDigits);

    std::string integer = IntegerDigits(number);
    if (static_cast<int>(integer.size()) < pattern.minIntegerDigits) {
        integer.insert(0, pattern.minIntegerDigits - integer.size(), '0');
    }
    std::string fraction = FractionDigits(number);
    if (static_cast<int>(fraction.size()) < pattern.minFractionDigits) {
        fraction.append(pattern.minFractionDigits - fraction.size(), '0');
    }
    if (integer.empty() && fraction.empty()) {
        integer = "0";
    }
    if (pattern.grouping) {
        integer = GroupThousands(integer, symbols.groupSeparator);
    }
    const bool negative = value < 0 && !number.digits.empty();
    return JoinParts(negative, integer, symbols.decimalSeparator, fraction);
}

std::string FormatGeneral(double value, const std::string& decimalSeparator) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    const DecimalDigits number = ToDecimalDigits(std::fabs(value));
    if (number.digits.empty()) {
        return "0";
    }
    const bool negative = value < 0;
    const int exponent = number.pointPosition - 1;
    if (exponent < kLowestFixedExponent || exponent > kHighestFixedExponent) {
        return (negative ? "-" : "") + ExponentForm(number, decimalSeparator);
    }
    const std::string integer = IntegerDigits(number);
    return JoinParts(negative, integer.empty() ? "0" : integer, decimalSeparator,
                     FractionDigits(number));
}

namespace {

NumberSymbols PointSymbols() {
    const std::string group = UserLocale().groupSeparator().toStdString();
    return {".", group == "." ? "," : group};
}

} // namespace

std::string FormatWithPoint(double value, const std::string& format) {
    if (const auto pattern = ParseNumberPattern(format)) {
        return FormatNumber(value, *pattern, PointSymbols());
    }
    return FormatGeneral(value, ".");
}

} // namespace kestrix
