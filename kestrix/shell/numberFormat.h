#pragma once

// Numbers as text through short format patterns ("0.00", "####0.0####",
// "000", "#,##0") and the general conversion of a double ("1.5", "1E-05").
// Digits come from the value rounded to 15 significant digits, so 2.675 with
// "0.00" gives 2.68: halves round away from zero on the decimal digits.

#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

struct NumberSymbols {
    std::string decimalSeparator = ".";
    std::string groupSeparator = ",";
};

// A pattern is an integer part of '0', '#' and ',' optionally followed by '.'
// and a fraction part of '0' and '#'. '0' forces a digit, '#' shows one only
// when needed, a ',' in the integer part groups the digits by thousands.
struct NumberPattern {
    int minIntegerDigits = 0;
    bool grouping = false;
    int minFractionDigits = 0;
    int maxFractionDigits = 0;
};

// Empty for a pattern with other characters, a second '.', a ',' after the
// '.', or no digit placeholder at all.
std::optional<NumberPattern> ParseNumberPattern(std::string_view pattern);

// The separator is left out when no fraction digit follows it, and a result
// without any digit shows "0". A value that rounds to zero has no minus sign.
std::string FormatNumber(double value, const NumberPattern& pattern,
                         const NumberSymbols& symbols = {});

// Up to 15 significant digits without trailing zeros; exponent form ("1E-05",
// "-1.5E+20") when the decimal exponent is below -4 or above 14.
std::string FormatGeneral(double value, const std::string& decimalSeparator = ".");

// The value formatted with the pattern (general conversion when it is empty
// or malformed), always with "." as the decimal separator. Where the locale
// groups with "." the groups are separated by "," so the text stays readable.
std::string FormatWithPoint(double value, const std::string& format);

} // namespace kestrix
