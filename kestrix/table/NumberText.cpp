#include "kestrix/table/NumberText.h"

#include "kestrix/table/CellFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace kestrix::table {

namespace {

constexpr int kSignificantDigits = 15;
constexpr std::string_view kNotANumber = "#NUM!";
constexpr std::array<double, CellFormat::kMaxDecimals + 1> kPowersOfTen{
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// |value| x 10^decimals as decimal digits, rounded half away from zero; "0" for zero.
class ScaledDigits {
public:
    ScaledDigits(double magnitude, int decimals) {
        std::array<char, 32> scientific{};
        const auto result =
            std::to_chars(scientific.data(), scientific.data() + scientific.size(), magnitude,
                          std::chars_format::scientific, kSignificantDigits - 1);
        const std::string_view text(scientific.data(), result.ptr - scientific.data());
        const std::size_t e = text.find('e');
        std::array<char, kSignificantDigits> significant{};
        significant[0] = text[0];
        std::copy(text.begin() + 2, text.begin() + static_cast<std::ptrdiff_t>(e),
                  significant.begin() + 1);
        const int exponent = std::atoi(text.data() + e + 1);
        // The digits stand for 0.ddd x 10^(exponent + 1); keep those above 10^-decimals.
        Build(significant, exponent + 1 + decimals);
    }

    std::string_view Digits() const { return {digits_.data(), length_}; }

private:
    void Build(const std::array<char, kSignificantDigits>& significant, int kept) {
        if (kept < 0) {
            Append('0');
            return;
        }
        for (int i = 0; i < kept; ++i) {
            Append(i < kSignificantDigits ? significant[i] : '0');
        }
        if (kept < kSignificantDigits && significant[kept] >= '5') {
            RoundUp();
        }
        if (length_ == 0) {
            Append('0');
        }
    }

    void Append(char c) { digits_[length_++] = c; }

    void RoundUp() {
        for (std::size_t i = length_; i-- > 0;) {
            if (digits_[i] != '9') {
                ++digits_[i];
                return;
            }
            digits_[i] = '0';
        }
        std::copy_backward(digits_.begin(), digits_.begin() + length_,
                           digits_.begin() + length_ + 1);
        digits_[0] = '1';
        ++length_;
    }

    // Up to 309 integer digits, 15 decimals and a carry.
    std::array<char, 330> digits_{};
    std::size_t length_ = 0;
};

int ClampDecimals(int decimals) {
    return std::clamp(decimals, 0, CellFormat::kMaxDecimals);
}

bool AllZero(std::string_view digits) {
    return digits.find_first_not_of('0') == std::string_view::npos;
}

int WidthOfParts(bool negative, int integerDigits, int decimals) {
    return (negative ? 1 : 0) + std::max(integerDigits, decimals + 1) + (decimals > 0 ? 1 : 0);
}

// Plain double rounding gives the same digit count as the decimal rounding unless the scaled
// value lies next to a rounding tie (the rounding to fifteen significant digits moves it by up
// to a relative 5e-15) or beyond the digits a double holds exactly; those cases are left to the
// exact path.
std::optional<int> QuickWidth(double value, int decimals) {
    constexpr double kExactLimit = 1e14;
    constexpr double kRelativeShift = 1e-14;
    constexpr double kTieMargin = 1e-9;
    const double scaled = std::fabs(value) * kPowersOfTen[static_cast<std::size_t>(decimals)];
    const double fraction = scaled - std::floor(scaled);
    if (scaled >= kExactLimit || std::fabs(fraction - 0.5) < kTieMargin + scaled * kRelativeShift) {
        return std::nullopt;
    }
    auto rounded = static_cast<std::uint64_t>(scaled + 0.5);
    int digits = 0;
    do {
        ++digits;
        rounded /= 10;
    } while (rounded != 0);
    const bool negative = value < 0.0 && scaled >= 0.5;
    return WidthOfParts(negative, digits, decimals);
}

} // namespace

std::string FormatNumber(double value, int decimals, char decimalSeparator) {
    if (!std::isfinite(value)) {
        return std::string(kNotANumber);
    }
    decimals = ClampDecimals(decimals);
    const ScaledDigits scaled(std::fabs(value), decimals);
    std::string digits(scaled.Digits());
    if (digits.size() <= static_cast<std::size_t>(decimals)) {
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    }
    std::string text = value < 0.0 && !AllZero(digits) ? "-" : "";
    const std::size_t integerDigits = digits.size() - static_cast<std::size_t>(decimals);
    text.append(digits, 0, integerDigits);
    if (decimals > 0) {
        text += decimalSeparator;
        text.append(digits, integerDigits);
    }
    return text;
}

int FormattedNumberWidth(double value, int decimals) {
    if (!std::isfinite(value)) {
        return static_cast<int>(kNotANumber.size());
    }
    decimals = ClampDecimals(decimals);
    if (const std::optional<int> width = QuickWidth(value, decimals)) {
        return *width;
    }
    const ScaledDigits scaled(std::fabs(value), decimals);
    const std::string_view digits = scaled.Digits();
    return WidthOfParts(value < 0.0 && !AllZero(digits), static_cast<int>(digits.size()), decimals);
}

void WidestNumberText::Add(double value) {
    if (!std::isfinite(value)) {
        nonFinite_ = true;
    } else if (!any_) {
        any_ = true;
        least_ = value;
        greatest_ = value;
    } else {
        least_ = std::min(least_, value);
        greatest_ = std::max(greatest_, value);
    }
}

int WidestNumberText::Width(int decimals) const {
    const int nonFinite = nonFinite_ ? static_cast<int>(kNotANumber.size()) : 0;
    if (!any_) {
        return nonFinite;
    }
    return std::max({nonFinite, FormattedNumberWidth(least_, decimals),
                     FormattedNumberWidth(greatest_, decimals)});
}

} // namespace kestrix::table
