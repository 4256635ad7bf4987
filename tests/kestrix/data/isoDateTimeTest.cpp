#include "kestrix/data/isoDateTime.h"

#include "kestrix/base/dateTime.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(IsoDateTime, WritesWholeSecondsWithoutAFraction) {
    EXPECT_EQ(data::FormatIsoDateTime(base::MakeDateTime(2026, 3, 1, 8, 15, 0)),
              "2026-03-01T08:15:00");
    EXPECT_EQ(data::FormatIsoDateTime(0.0), "1899-12-30T00:00:00");
    EXPECT_EQ(data::FormatIsoDateTime(-1.25), "1899-12-29T06:00:00");
}

TEST(IsoDateTime, WritesMillisecondsWhenThereAreAny) {
    EXPECT_EQ(data::FormatIsoDateTime(base::MakeDateTime(2026, 3, 1, 8, 15, 7.042)),
              "2026-03-01T08:15:07.042");
    EXPECT_EQ(data::FormatIsoDateTime(base::MakeDateTime(2026, 12, 31, 23, 59, 59.9996)),
              "2027-01-01T00:00:00");
}

TEST(IsoDateTime, InstrumentTimeStampsComeBackBitForBit) {
    for (std::int64_t seconds = 0; seconds <= 2'147'483'647; seconds += 7'919'851) {
        const base::DateTime stamp = base::SecondsToDate(static_cast<std::int32_t>(seconds));
        const auto parsed = data::ParseIsoDateTime(data::FormatIsoDateTime(stamp));
        ASSERT_TRUE(parsed.has_value());
        ASSERT_EQ(*parsed, stamp) << seconds;
    }
    for (std::int32_t seconds = 1'772'352'000; seconds < 1'772'352'000 + 86400; ++seconds) {
        const base::DateTime stamp = base::SecondsToDate(seconds);
        ASSERT_EQ(data::ParseIsoDateTime(data::FormatIsoDateTime(stamp)), stamp) << seconds;
    }
}

TEST(IsoDateTime, DatesBeforeTheEpochDayKeepTheirForwardFraction) {
    EXPECT_EQ(data::ParseIsoDateTime("1899-12-29T06:00:00"), -1.25);
    EXPECT_EQ(data::ParseIsoDateTime("1960-02-29T23:59:59"),
              base::MakeDateTime(1960, 2, 29, 23, 59, 59));
}

TEST(IsoDateTime, RefusesWhatIsNotACalendarDateTime) {
    for (const char* text : {"", "2026-03-01", "2026-03-01 08:15:00", "2026-03-01T08:15:00Z",
                             "2026-03-01T08:15:00+01:00", "2026-3-01T08:15:00",
                             "2026-03-01T08:15:00.5", "2026-02-29T00:00:00", "2026-13-01T00:00:00",
                             "2026-00-10T00:00:00", "2026-04-31T00:00:00", "2026-03-01T24:00:00",
                             "2026-03-01T08:60:00", "2026-03-01T08:15:60", "0099-03-01T08:15:00",
                             "2026-03-01T08:15:0x", "+026-03-01T08:15:00"}) {
        EXPECT_FALSE(data::ParseIsoDateTime(text).has_value()) << text;
    }
    EXPECT_TRUE(data::ParseIsoDateTime("2024-02-29T00:00:00").has_value());
    EXPECT_TRUE(data::ParseIsoDateTime("2000-02-29T00:00:00").has_value());
    EXPECT_FALSE(data::ParseIsoDateTime("1900-02-29T00:00:00").has_value());
}

} // namespace
} // namespace kestrix
