#pragma once

// The US EPA Air Quality Index for a day's mean PM2.5 and PM10, with the breakpoints in force
// since 2024, and the category colours the EPA publishes.

#include "kestrix/table/CellFormat.h"

#include <array>
#include <optional>

namespace kestrix::iaq {

enum class Pollutant { Pm2_5, Pm10 };

enum class AqiCategory {
    Good,
    Moderate,
    UnhealthyForSensitiveGroups,
    Unhealthy,
    VeryUnhealthy,
    Hazardous,
};

inline constexpr int kAqiCategoryCount = 6;

struct PollutantIndex {
    int value = 0; // 0 to 500
    AqiCategory category = AqiCategory::Good;
    bool beyond = false; // above the top breakpoint: shown as 500+
};

// One category's concentrations, in µg/m³, from the first value of its range to the first
// value of the next (what a chart shades).
struct ConcentrationBand {
    AqiCategory category;
    double from;
    double to;
};

// The mean is truncated to the pollutant's precision (0.1 µg/m³ for PM2.5, 1 µg/m³ for PM10)
// before the breakpoints are applied; a negative mean counts as 0.
PollutantIndex IndexOf(Pollutant pollutant, double mean);

// The day's index: the higher of the two, the pollutant that sets it (PM2.5 on a tie).
struct DayIndex {
    PollutantIndex overall;
    Pollutant pollutant = Pollutant::Pm2_5;
};
DayIndex HigherIndex(const PollutantIndex& pm2_5, const PollutantIndex& pm10);

std::array<ConcentrationBand, kAqiCategoryCount> CategoryBands(Pollutant pollutant);

// The pollutant whose PM value is the mass below a particle channel of that size: PM2.5 at
// 2.5 µm, PM10 at 10 µm; none at other sizes.
std::optional<Pollutant> PollutantBelow(double micrometres);

// "Unhealthy for Sensitive Groups".
const char* CategoryName(AqiCategory category);
// "PM2.5", "PM10".
const char* PollutantName(Pollutant pollutant);
// Green, yellow, orange, red, purple, maroon.
table::Rgb CategoryColor(AqiCategory category);
// Black, or white on purple and maroon, so the index stays legible on its colour.
table::Rgb CategoryTextColor(AqiCategory category);

} // namespace kestrix::iaq
