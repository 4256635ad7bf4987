#include "kestrix/base/dateTime.h"

#include <cmath>
#include <ctime>
#include <gtest/gtest.h>
#include <limits>

namespace kestrix {
namespace {

void ExpectCivil(const CivilDateTime& civil, std::int32_t year, int month, int day, int hour,
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
    EXPECT_DOUBLE_EQ(MakeDateTime(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(MakeDateTime(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(MakeDateTime(1970, 1, 1), 25569.0);
    EXPECT_DOUBLE_EQ(MakeDateTime(2000, 2, 29), 36585.0);
    EXPECT_DOUBLE_EQ(MakeDateTime(9999, 12, 31), 2958465.0);
}

TEST(MakeDateTime, AddsTheTimeOfDayAsFraction) {
    EXPECT_DOUBLE_EQ(MakeDateTime(2000, 1, 1, 12), 36526.5);
    EXPECT_DOUBLE_EQ(MakeDateTime(1970, 1, 1, 6, 0, 0.0), 25569.25);
    EXPECT_DOUBLE_EQ(MakeDateTime(1970, 1, 1, 0, 0, 43200.0), 25569.5);
}

TEST(MakeDateTime, DatesBeforeTheEpochDayKeepAForwardTimeOfDay) {
    EXPECT_DOUBLE_EQ(MakeDateTime(1899, 12, 29, 6), -1.25);
    EXPECT_DOUBLE_EQ(MakeDateTime(1800, 1, 1), -36522.0);
    EXPECT_DOUBLE_EQ(MakeDateTime(1600, 2, 29, 18), -109512.75);
}

TEST(MakeDateTime, CarriesFieldsOutsideTheirRange) {
    EXPECT_DOUBLE_EQ(MakeDateTime(2023, 13, 1), MakeDateTime(2024, 1, 1));
    EXPECT_DOUBLE_EQ(MakeDateTime(2024, 0, 1), MakeDateTime(2023, 12, 1));
    EXPECT_DOUBLE_EQ(MakeDateTime(2024, -11, 1), MakeDateTime(2023, 1, 1));
    EXPECT_DOUBLE_EQ(MakeDateTime(2024, 2, 30), MakeDateTime(2024, 3, 1));
    EXPECT_DOUBLE_EQ(MakeDateTime(1970, 1, 1, 0, 0, 86400.0), MakeDateTime(1970, 1, 2));
}

TEST(ToCivilDateTime, InvertsMakeDateTime) {
    ExpectCivil(ToCivilDateTime(MakeDateTime(2000, 2, 29, 23, 59, 59)), 2000, 2, 29, 23, 59, 59);
    ExpectCivil(ToCivilDateTime(MakeDateTime(1899, 12, 29, 6)), 1899, 12, 29, 6, 0, 0);
    ExpectCivil(ToCivilDateTime(MakeDateTime(1600, 2, 29, 18, 30, 15.25)), 1600, 2, 29, 18, 30, 15,
                250);
    ExpectCivil(ToCivilDateTime(MakeDateTime(2038, 1, 19, 3, 14, 8)), 2038, 1, 19, 3, 14, 8);
    ExpectCivil(ToCivilDateTime(MakeDateTime(9999, 12, 31, 23, 59, 59)), 9999, 12, 31, 23, 59, 59);
}

TEST(ToCivilDateTime, ReadsTheFractionOfNegativeDaysForward) {
    ExpectCivil(ToCivilDateTime(-0.5), 1899, 12, 30, 12, 0, 0);
}

TEST(ToCivilDateTime, RoundsToTheNearestMillisecond) {
    ExpectCivil(ToCivilDateTime(1.0 - 1e-10), 1899, 12, 31, 0, 0, 0);
    ExpectCivil(ToCivilDateTime(MakeDateTime(2020, 5, 6, 7, 8, 9.0004)), 2020, 5, 6, 7, 8, 9, 0);
}

TEST(ToCivilDateTime, ClampsValuesWithoutACivilDate) {
    ExpectCivil(ToCivilDateTime(std::numeric_limits<double>::quiet_NaN()), 1899, 12, 30, 0, 0, 0);
    ExpectCivil(ToCivilDateTime(1e300), 9999, 12, 31, 23, 59, 59, 999);
    ExpectCivil(ToCivilDateTime(std::numeric_limits<double>::infinity()), 9999, 12, 31, 23, 59, 59,
                999);
    ExpectCivil(ToCivilDateTime(-1e300), 100, 1, 1, 0, 0, 0);
}

DateTime LocalDateTimeOf(std::time_t seconds) {
    std::tm local{};
    localtime_r(&seconds, &local);
    return MakeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec);
}

TEST(CurrentLocalDateTime, IsTheLocalWallClock) {
    const std::time_t before = std::time(nullptr);
    const DateTime now = CurrentLocalDateTime();
    const std::time_t after = std::time(nullptr);
    const double oneSecond = 1.0 / 86400.0;
    EXPECT_GE(now, LocalDateTimeOf(before));
    EXPECT_LT(now, LocalDateTimeOf(after) + oneSecond);
}

TEST(InstrumentTime, SecondsCountFromTheUnixEpoch) {
    EXPECT_DOUBLE_EQ(SecondsToDate(0), MakeDateTime(1970, 1, 1));
    EXPECT_DOUBLE_EQ(SecondsToDate(946684800), MakeDateTime(2000, 1, 1));
    EXPECT_DOUBLE_EQ(SecondsToDate(946729830), MakeDateTime(2000, 1, 1, 12, 30, 30));
    EXPECT_DOUBLE_EQ(SecondsToDate(std::numeric_limits<std::int32_t>::max()),
                     MakeDateTime(2038, 1, 19, 3, 14, 7));
}

TEST(InstrumentTime, NegativeSecondsGiveTheEpoch) {
    EXPECT_DOUBLE_EQ(SecondsToDate(-1), MakeDateTime(1970, 1, 1));
    EXPECT_DOUBLE_EQ(SecondsToDate(std::numeric_limits<std::int32_t>::min()),
                     MakeDateTime(1970, 1, 1));
}

} // namespace
} // namespace kestrix
