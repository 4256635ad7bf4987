#include "kestrix/iaq/airQualityIndex.h"

#include <gtest/gtest.h>

namespace kestrix::iaq {
namespace {

using C = AqiCategory;

struct IndexCase {
    Pollutant pollutant;
    double mean;
    int value;
    AqiCategory category;
    bool beyond;
};

// Each breakpoint, the value on either side of it, and means that truncate onto a breakpoint.
TEST(AirQualityIndex, BreakpointsAndTruncation) {
    const IndexCase cases[] = {
        {Pollutant::Pm2_5, 0.0, 0, C::Good, false},
        {Pollutant::Pm2_5, -3.0, 0, C::Good, false},
        {Pollutant::Pm2_5, 9.0, 50, C::Good, false},
        {Pollutant::Pm2_5, 9.09, 50, C::Good, false},
        {Pollutant::Pm2_5, 9.1, 51, C::Moderate, false},
        {Pollutant::Pm2_5, 35.4, 100, C::Moderate, false},
        {Pollutant::Pm2_5, 35.49, 100, C::Moderate, false},
        {Pollutant::Pm2_5, 35.5, 101, C::UnhealthyForSensitiveGroups, false},
        {Pollutant::Pm2_5, 55.4, 150, C::UnhealthyForSensitiveGroups, false},
        {Pollutant::Pm2_5, 55.5, 151, C::Unhealthy, false},
        {Pollutant::Pm2_5, 108.41, 188, C::Unhealthy, false},
        {Pollutant::Pm2_5, 125.4, 200, C::Unhealthy, false},
        {Pollutant::Pm2_5, 125.5, 201, C::VeryUnhealthy, false},
        {Pollutant::Pm2_5, 225.4, 300, C::VeryUnhealthy, false},
        {Pollutant::Pm2_5, 225.5, 301, C::Hazardous, false},
        {Pollutant::Pm2_5, 325.4, 500, C::Hazardous, false},
        {Pollutant::Pm2_5, 325.49, 500, C::Hazardous, false},
        {Pollutant::Pm2_5, 325.5, 500, C::Hazardous, true},
        {Pollutant::Pm10, 0, 0, C::Good, false},
        {Pollutant::Pm10, 54, 50, C::Good, false},
        {Pollutant::Pm10, 54.99, 50, C::Good, false},
        {Pollutant::Pm10, 55, 51, C::Moderate, false},
        {Pollutant::Pm10, 154, 100, C::Moderate, false},
        {Pollutant::Pm10, 155, 101, C::UnhealthyForSensitiveGroups, false},
        {Pollutant::Pm10, 254, 150, C::UnhealthyForSensitiveGroups, false},
        {Pollutant::Pm10, 255, 151, C::Unhealthy, false},
        {Pollutant::Pm10, 354, 200, C::Unhealthy, false},
        {Pollutant::Pm10, 355, 201, C::VeryUnhealthy, false},
        {Pollutant::Pm10, 384.35, 243, C::VeryUnhealthy, false},
        {Pollutant::Pm10, 424, 300, C::VeryUnhealthy, false},
        {Pollutant::Pm10, 425, 301, C::Hazardous, false},
        {Pollutant::Pm10, 604, 500, C::Hazardous, false},
        {Pollutant::Pm10, 604.99, 500, C::Hazardous, false},
        {Pollutant::Pm10, 605, 500, C::Hazardous, true},
    };
    for (const IndexCase& c : cases) {
        SCOPED_TRACE(std::string(PollutantName(c.pollutant)) + " " + std::to_string(c.mean));
        const PollutantIndex index = IndexOf(c.pollutant, c.mean);
        EXPECT_EQ(index.value, c.value);
        EXPECT_EQ(index.category, c.category);
        EXPECT_EQ(index.beyond, c.beyond);
    }
}

TEST(AirQualityIndex, TheDaysIndexIsTheHigherWithItsPollutant) {
    const PollutantIndex moderate{80, C::Moderate, false};
    const PollutantIndex unhealthy{160, C::Unhealthy, false};
    const PollutantIndex top{500, C::Hazardous, false};
    const PollutantIndex beyond{500, C::Hazardous, true};
    struct Case {
        PollutantIndex pm2_5;
        PollutantIndex pm10;
        Pollutant setBy;
    };
    const Case cases[] = {
        {moderate, unhealthy, Pollutant::Pm10},
        {unhealthy, moderate, Pollutant::Pm2_5},
        {moderate, moderate, Pollutant::Pm2_5},
        {top, beyond, Pollutant::Pm10},
    };
    for (const Case& c : cases) {
        const DayIndex day = HigherIndex(c.pm2_5, c.pm10);
        EXPECT_EQ(day.pollutant, c.setBy);
        EXPECT_EQ(day.overall.beyond, (c.setBy == Pollutant::Pm10 ? c.pm10 : c.pm2_5).beyond);
    }
}

// Chart bands join without gaps from 0 to just above the top breakpoint.
TEST(AirQualityIndex, CategoryBandsCoverTheScale) {
    for (const Pollutant pollutant : {Pollutant::Pm2_5, Pollutant::Pm10}) {
        const auto bands = CategoryBands(pollutant);
        EXPECT_EQ(bands.front().from, 0.0);
        for (std::size_t i = 0; i < bands.size(); ++i) {
            EXPECT_EQ(IndexOf(pollutant, bands[i].from).category, bands[i].category);
            if (i + 1 < bands.size()) {
                EXPECT_DOUBLE_EQ(bands[i].to, bands[i + 1].from);
            }
        }
        EXPECT_TRUE(IndexOf(pollutant, bands.back().to).beyond);
    }
}

} // namespace
} // namespace kestrix::iaq
