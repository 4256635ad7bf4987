#include "kestrix/data/isoDateTime.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace kestrix::data {

namespace {

constexpr double kUnixEpochDays = 25569.0;
constexpr double kMillisecondsPerDay = 86'400'000.0;
constexpr std::string_view kWholeSecondsLayout = "dddd-dd-ddTdd:dd:dd";
constexpr std::string_view kMillisecondsLayout = "dddd-dd-ddTdd:dd:dd.ddd";

bool MatchesLayout(std::string_view text, std::string_view layout) {
    if (text.size() != layout.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (layout[i] == 'd' ? !digit : text[i] != layout[i]) {
            return false;
        }
    }
    return true;
}

int Digits(std::string_view text, std::size_t first, std::size_t count) {
    int value = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

} // namespace

std::string FormatIsoDateTime(base::DateTime value) {
    const base::CivilDateTime civil = base::ToCivilDateTime(value);
    std::array<char, 32> text{};
    int length =
        std::snprintf(text.data(), text.size(), "%04d-%02d-%02dT%02d:%02d:%02d", civil.year,
                      civil.month, civil.day, civil.hour, civil.minute, civil.second);
    if (civil.millisecond != 0) {
        length +=
            std::snprintf(text.data() + length, text.size() - static_cast<std::size_t>(length),
                          ".%03d", civil.millisecond);
    }
    return std::string(text.data(), static_cast<std::size_t>(length));
}

std::optional<base::DateTime> ParseIsoDateTime(std::string_view text) {
    const bool withMilliseconds = MatchesLayout(text, kMillisecondsLayout);
    if (!withMilliseconds && !MatchesLayout(text, kWholeSecondsLayout)) {
        return std::nullopt;
    }
    const int year = Digits(text, 0, 4);
    const int month = Digits(text, 5, 2);
    const int day = Digits(text, 8, 2);
    const int hour = Digits(text, 11, 2);
    const int minute = Digits(text, 14, 2);
    const int second = Digits(text, 17, 2);
    const int millisecond = withMilliseconds ? Digits(text, 20, 3) : 0;
    if (year < 100 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    const base::DateTime midnight = base::MakeDateTime(year, month, day);
    const auto millisOfDay =
        static_cast<std::int64_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond);
    if (midnight < kUnixEpochDays) {
        return base::MakeDateTime(year, month, day, hour, minute, second + millisecond / 1000.0);
    }
    // The same division as the instrument's seconds-to-date conversion: the
    // quotient of the same real number is the same double.
    const auto millisSinceEpoch =
        static_cast<std::int64_t>(midnight - kUnixEpochDays) * 86'400'000 + millisOfDay;
    return kUnixEpochDays + static_cast<double>(millisSinceEpoch) / kMillisecondsPerDay;
}

} // namespace kestrix::data
