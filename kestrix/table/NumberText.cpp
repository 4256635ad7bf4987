#include "kestrix/table/NumberText.h"

#include "kestrix/table/CellFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace kestrix::table {

namespace {

constexpr int kSignificantDigits = 15;
constexpr std::string_view kNotANumber = "#NUM!";

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
    const ScaledDigits scaled(std::fabs(value), decimals);
    const std::string_view digits = scaled.Digits();
    const int sign = value < 0.0 && !AllZero(digits) ? 1 : 0;
    const int shownDigits = std::max(static_cast<int>(digits.size()), decimals + 1);
    return sign + shownDigits + (decimals > 0 ? 1 : 0);
}

} // namespace kestrix::table
