#include "kestrix/iaq/airQualityIndex.h"

#include <cmath>
#include <utility>

namespace kestrix::iaq {

namespace {

// Breakpoints in steps of the pollutant's precision: tenths of µg/m³ for PM2.5, µg/m³ for PM10.
struct Breakpoint {
    long low;
    long high;
    int indexLow;
    int indexHigh;
};

using Breakpoints = std::array<Breakpoint, kAqiCategoryCount>;

constexpr Breakpoints kPm2_5Tenths{{
    {0, 90, 0, 50},
    {91, 354, 51, 100},
    {355, 554, 101, 150},
    {555, 1254, 151, 200},
    {1255, 2254, 201, 300},
    {2255, 3254, 301, 500},
}};

constexpr Breakpoints kPm10Units{{
    {0, 54, 0, 50},
    {55, 154, 51, 100},
    {155, 254, 101, 150},
    {255, 354, 151, 200},
    {355, 424, 201, 300},
    {425, 604, 301, 500},
}};

// A mean of 9.1 held as 9.0999999999 must truncate to 9.1, not 9.0.
constexpr double kTruncationSlack = 1e-6;

const Breakpoints& BreakpointsOf(Pollutant pollutant) {
    return pollutant == Pollutant::Pm2_5 ? kPm2_5Tenths : kPm10Units;
}

double StepsPerMicrogram(Pollutant pollutant) {
    return pollutant == Pollutant::Pm2_5 ? 10.0 : 1.0;
}

long TruncatedSteps(Pollutant pollutant, double mean) {
    if (!(mean > 0)) {
        return 0;
    }
    return static_cast<long>(std::floor(mean * StepsPerMicrogram(pollutant) + kTruncationSlack));
}

} // namespace

PollutantIndex IndexOf(Pollutant pollutant, double mean) {
    const long steps = TruncatedSteps(pollutant, mean);
    const Breakpoints& table = BreakpointsOf(pollutant);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Breakpoint& bp = table[i];
        if (steps <= bp.high) {
            const double slope = double(bp.indexHigh - bp.indexLow) / double(bp.high - bp.low);
            const int value =
                static_cast<int>(std::lround(slope * double(steps - bp.low) + bp.indexLow));
            return {value, static_cast<AqiCategory>(i), false};
        }
    }
    return {table.back().indexHigh, AqiCategory::Hazardous, true};
}

DayIndex HigherIndex(const PollutantIndex& pm2_5, const PollutantIndex& pm10) {
    const auto rank = [](const PollutantIndex& index) {
        return index.value + (index.beyond ? 1 : 0);
    };
    if (rank(pm10) > rank(pm2_5)) {
        return {pm10, Pollutant::Pm10};
    }
    return {pm2_5, Pollutant::Pm2_5};
}

std::array<ConcentrationBand, kAqiCategoryCount> CategoryBands(Pollutant pollutant) {
    const Breakpoints& table = BreakpointsOf(pollutant);
    const double step = 1.0 / StepsPerMicrogram(pollutant);
    std::array<ConcentrationBand, kAqiCategoryCount> bands{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        bands[i] = {static_cast<AqiCategory>(i), double(table[i].low) * step,
                    double(table[i].high + 1) * step};
    }
    return bands;
}

std::optional<Pollutant> PollutantBelow(double micrometres) {
    // Sizes as the instrument names them (10, 10.0) compare by value.
    constexpr double kSizeTolerance = 1e-6;
    for (const auto& [size, pollutant] :
         {std::pair{2.5, Pollutant::Pm2_5}, std::pair{10.0, Pollutant::Pm10}}) {
        if (std::abs(micrometres - size) < kSizeTolerance) {
            return pollutant;
        }
    }
    return std::nullopt;
}

const char* CategoryName(AqiCategory category) {
    switch (category) {
    case AqiCategory::Good:
        return "Good";
    case AqiCategory::Moderate:
        return "Moderate";
    case AqiCategory::UnhealthyForSensitiveGroups:
        return "Unhealthy for Sensitive Groups";
    case AqiCategory::Unhealthy:
        return "Unhealthy";
    case AqiCategory::VeryUnhealthy:
        return "Very Unhealthy";
    case AqiCategory::Hazardous:
        return "Hazardous";
    }
    return "";
}

const char* PollutantName(Pollutant pollutant) {
    return pollutant == Pollutant::Pm2_5 ? "PM2.5" : "PM10";
}

table::Rgb CategoryColor(AqiCategory category) {
    static constexpr std::array<table::Rgb, kAqiCategoryCount> kColors{{
        table::Rgb::FromHex(0x00E400),
        table::Rgb::FromHex(0xFFFF00),
        table::Rgb::FromHex(0xFF7E00),
        table::Rgb::FromHex(0xFF0000),
        table::Rgb::FromHex(0x8F3F97),
        table::Rgb::FromHex(0x7E0023),
    }};
    return kColors[static_cast<std::size_t>(category)];
}

table::Rgb CategoryTextColor(AqiCategory category) {
    return category >= AqiCategory::VeryUnhealthy ? table::kWhite : table::kBlack;
}

} // namespace kestrix::iaq
