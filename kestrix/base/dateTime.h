#pragma once

// Date-time values: days since 1899-12-30 00:00 as a double, the time of day
// as the fraction, local wall-clock time without any time-zone shift. Before
// the epoch day the value is negative and the fraction still counts forward
// from midnight (-1.25 is 1899-12-29 06:00), the convention of the serial
// date-time that spreadsheets and forms read.

#include <cstdint>

namespace kestrix::base {

using DateTime = double;

struct CivilDateTime {
    std::int32_t year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Fields outside their usual range carry over (month 13 is January of the
// next year, second 60 the next minute); any year is accepted.
DateTime MakeDateTime(std::int32_t year, int month, int day, int hour = 0, int minute = 0,
                      double second = 0.0);

// Civil fields rounded to the nearest millisecond. Values beyond the years
// 100 to 9999, and values that are not numbers, are clamped into that range.
CivilDateTime ToCivilDateTime(DateTime value);

// The local wall-clock date and time now.
DateTime CurrentLocalDateTime();

// 1970-01-01 00:00:00 plus the seconds, without any time-zone shift; a
// negative count gives 1970-01-01 00:00:00.
DateTime SecondsToDate(std::int32_t seconds);

} // namespace kestrix::base
