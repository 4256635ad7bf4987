#include "kestrix/base/dateTime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

namespace kestrix::base {

namespace {

constexpr std::int64_t kDaysFrom1899To1970 = 25569;
constexpr double kSecondsPerDay = 86400.0;
constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
// 0100-01-01 and 9999-12-31 23:59:59.999, the span that civil fields cover.
constexpr double kEarliest = -657434.0;
constexpr double kLatest = 2958465.0 + 86'399'999.0 / 86'400'000.0;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Proleptic Gregorian day count relative to 1970-01-01, month 1..12.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = FloorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const int shiftedMonth = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, CivilDateTime& civil) {
    days += 719468;
    const std::int64_t era = FloorDiv(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    civil.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    civil.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    civil.year = static_cast<std::int32_t>(yearOfEra + era * 400 + (civil.month <= 2 ? 1 : 0));
}

// A continuous day count has a negative fraction before the epoch day; the
// stored form keeps the time of day as a positive fraction of a negative day.
DateTime FromContinuousDays(double continuous) {
    const double day = std::floor(continuous);
    const double fraction = continuous - day;
    return day < 0.0 ? day - fraction : continuous;
}

double ToContinuousDays(DateTime value) {
    const double day = std::trunc(value);
    return day + std::fabs(value - day);
}

} // namespace

DateTime MakeDateTime(std::int32_t year, int month, int day, int hour, int minute, double second) {
    const std::int64_t monthIndex = static_cast<std::int64_t>(month) - 1;
    const std::int64_t carriedYear = year + FloorDiv(monthIndex, 12);
    const int monthOfYear = static_cast<int>(monthIndex - FloorDiv(monthIndex, 12) * 12) + 1;
    const std::int64_t days = DaysFromCivil(carriedYear, monthOfYear, 1) + kDaysFrom1899To1970 +
                              (static_cast<std::int64_t>(day) - 1);
    const double seconds = static_cast<double>(hour) * 3600.0 + minute * 60.0 + second;
    return FromContinuousDays(static_cast<double>(days) + seconds / kSecondsPerDay);
}

CivilDateTime ToCivilDateTime(DateTime value) {
    if (std::isnan(value)) {
        value = 0.0;
    }
    const double continuous = ToContinuousDays(std::fmin(std::fmax(value, kEarliest), kLatest));
    auto dayNumber = static_cast<std::int64_t>(std::floor(continuous));
    auto millisOfDay = std::llround((continuous - static_cast<double>(dayNumber)) *
                                    static_cast<double>(kMillisecondsPerDay));
    if (millisOfDay >= kMillisecondsPerDay) {
        ++dayNumber;
        millisOfDay -= kMillisecondsPerDay;
    }
    CivilDateTime civil;
    CivilFromDays(dayNumber - kDaysFrom1899To1970, civil);
    civil.hour = static_cast<int>(millisOfDay / 3'600'000);
    civil.minute = static_cast<int>(millisOfDay / 60'000 % 60);
    civil.second = static_cast<int>(millisOfDay / 1000 % 60);
    civil.millisecond = static_cast<int>(millisOfDay % 1000);
    return civil;
}

DateTime CurrentLocalDateTime() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto wholeSeconds = floor<seconds>(now);
    const std::time_t epochSeconds = system_clock::to_time_t(wholeSeconds);
    const double fraction = duration<double>(now - wholeSeconds).count();
    std::tm local{};
    if (localtime_r(&epochSeconds, &local) == nullptr) {
        return MakeDateTime(1970, 1, 1, 0, 0, static_cast<double>(epochSeconds) + fraction);
    }
    return MakeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec + fraction);
}

DateTime SecondsToDate(std::int32_t seconds) {
    constexpr double kUnixEpochDays = 25569.0; // 1970-01-01 in days since 1899-12-30
    constexpr double kSecondsPerDay = 86400.0;
    return kUnixEpochDays + std::max(seconds, 0) / kSecondsPerDay;
}

} // namespace kestrix::base
