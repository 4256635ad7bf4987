#include "kestrix/base/dateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <gtest/gtest.h>
#include <limits>

namespace kestrix {
namespace {

void ExpectCivil(const base::CivilDateTime& civil, std::int32_t year, int month, int day, int hour,
                 int minute, int second, int millisecond = 0) {
    EXPECT_EQ(civil.year, year);
    EXPECT_EQ(civil.month, month);
    EXPECT_EQ(civil.day, day);
    EXPECT_EQ(civil.hour, hour);
    EXPECT_EQ(civil.minute, minute);
    EXPECT_EQ(civil.second, second);
    EXPECT_EQ(civil.millisecond, millisecond);
}

TEST(MakeDateTime, CountsDaysFromTheEpochDay) {
    EXPECT_DOUBLE_EQ(base::MakeDateTime(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(base::MakeDateTime(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(base::MakeDateTime(1970, 1, 1), 25569.0);
    EXPECT_DOUBLE_EQ(base::MakeDateTime(2000, 2, 29), 36585.0);
    EXPECT_DOUBLE_EQ(base::MakeDateTime(9999, 12, 31), 2958465.0);
}

TEST(MakeDateTime, AddsTheTimeOfDayAsFraction) {
    EXPECT_DOUBLE_EQ(base::MakeDateTime(2000, 1, 1, 12), 36526.5);
    EXPECT_DOUBLE_EQ(base::MakeDateTime(1970, 1, 1, 6, 0, 0.0), 25569.25);
    EXPECT_DOUBLE_EQ(base::MakeDateTime(1970, 1, 1, 0, 0, 43200.0), 25569.5);
}

TEST(MakeDateTime, DatesBeforeTheEpochDayKeepAForwardTimeOfDay) {
    EXPECT_DOUBLE_EQ(base::MakeDateTime(1899, 12, 29, 6), -1.25);
    EXPECT_DOUBLE_EQ(base::MakeDateTime(1800, 1, 1), -36522.0);
    EXPECT_DOUBLE_EQ(base::MakeDateTime(1600, 2, 29, 18), -109512.75);
}

TEST(MakeDateTime, CarriesFieldsOutsideTheirRange) {
    EXPECT_DOUBLE_EQ(base::MakeDateTime(2023, 13, 1), base::MakeDateTime(2024, 1, 1));
    EXPECT_DOUBLE_EQ(base::MakeDateTime(2024, 0, 1), base::MakeDateTime(2023, 12, 1));
    EXPECT_DOUBLE_EQ(base::MakeDateTime(2024, -11, 1), base::MakeDateTime(2023, 1, 1));
    EXPECT_DOUBLE_EQ(base::MakeDateTime(2024, 2, 30), base::MakeDateTime(2024, 3, 1));
    EXPECT_DOUBLE_EQ(base::MakeDateTime(1970, 1, 1, 0, 0, 86400.0), base::MakeDateTime(1970, 1, 2));
}

TEST(ToCivilDateTime, InvertsMakeDateTime) {
    ExpectCivil(base::ToCivilDateTime(base::MakeDateTime(2000, 2, 29, 23, 59, 59)), 2000, 2, 29, 23,
                59, 59);
    ExpectCivil(base::ToCivilDateTime(base::MakeDateTime(1899, 12, 29, 6)), 1899, 12, 29, 6, 0, 0);
    ExpectCivil(base::ToCivilDateTime(base::MakeDateTime(1600, 2, 29, 18, 30, 15.25)), 1600, 2, 29,
                18, 30, 15, 250);
    ExpectCivil(base::ToCivilDateTime(base::MakeDateTime(2038, 1, 19, 3, 14, 8)), 2038, 1, 19, 3,
                14, 8);
    ExpectCivil(base::ToCivilDateTime(base::MakeDateTime(9999, 12, 31, 23, 59, 59)), 9999, 12, 31,
                23, 59, 59);
}

TEST(ToCivilDateTime, ReadsTheFractionOfNegativeDaysForward) {
    ExpectCivil(base::ToCivilDateTime(-0.5), 1899, 12, 30, 12, 0, 0);
}

TEST(ToCivilDateTime, RoundsToTheNearestMillisecond) {
    ExpectCivil(base::ToCivilDateTime(1.0 - 1e-10), 1899, 12, 31, 0, 0, 0);
    ExpectCivil(base::ToCivilDateTime(base::MakeDateTime(2020, 5, 6, 7, 8, 9.0004)), 2020, 5, 6, 7,
                8, 9, 0);
}

TEST(ToCivilDateTime, ClampsValuesWithoutACivilDate) {
    ExpectCivil(base::ToCivilDateTime(std::numeric_limits<double>::quiet_NaN()), 1899, 12, 30, 0, 0,
                0);
    ExpectCivil(base::ToCivilDateTime(1e300), 9999, 12, 31, 23, 59, 59, 999);
    ExpectCivil(base::ToCivilDateTime(std::numeric_limits<double>::infinity()), 9999, 12, 31, 23,
                59, 59, 999);
    ExpectCivil(base::ToCivilDateTime(-1e300), 100, 1, 1, 0, 0, 0);
}

base::DateTime LocalDateTimeOf(std::time_t seconds) {
    std::tm local{};
    localtime_r(&seconds, &local);
    return base::MakeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                              local.tm_min, local.tm_sec);
}

// time() may read a coarser clock that lags the one the wall clock reads by a tick.
std::time_t SecondsNow() {
    return std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
}

TEST(CurrentLocalDateTime, IsTheLocalWallClock) {
    const std::time_t before = SecondsNow();
    const base::DateTime now = base::CurrentLocalDateTime();
    const std::time_t after = SecondsNow();
    const double oneSecond = 1.0 / 86400.0;
    EXPECT_GE(now, LocalDateTimeOf(before));
    EXPECT_LT(now, LocalDateTimeOf(after) + oneSecond);
}

TEST(InstrumentTime, SecondsCountFromTheUnixEpoch) {
    EXPECT_DOUBLE_EQ(base::SecondsToDate(0), base::MakeDateTime(1970, 1, 1));
    EXPECT_DOUBLE_EQ(base::SecondsToDate(946684800), base::MakeDateTime(2000, 1, 1));
    EXPECT_DOUBLE_EQ(base::SecondsToDate(946729830), base::MakeDateTime(2000, 1, 1, 12, 30, 30));
    EXPECT_DOUBLE_EQ(base::SecondsToDate(std::numeric_limits<std::int32_t>::max()),
                     base::MakeDateTime(2038, 1, 19, 3, 14, 7));
}

TEST(InstrumentTime, NegativeSecondsGiveTheEpoch) {
    EXPECT_DOUBLE_EQ(base::SecondsToDate(-1), base::MakeDateTime(1970, 1, 1));
    EXPECT_DOUBLE_EQ(base::SecondsToDate(std::numeric_limits<std::int32_t>::min()),
                     base::MakeDateTime(1970, 1, 1));
}

} // namespace
} // namespace kestrix
