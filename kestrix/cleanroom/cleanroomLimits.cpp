#include "kestrix/cleanroom/cleanroomLimits.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace kestrix::cleanroom {

namespace {

constexpr double kNone = 0.0; // a cell the table leaves empty

// ISO 14644-1:2015, Table 1: maximum concentrations (particles/m³) of particles at or above the
// considered sizes 0.1, 0.2, 0.3, 0.5, 1 and 5 µm, ISO class 1 to 9.
constexpr std::array<std::array<double, 6>, 9> kIso14644Table1{{
    {10, kNone, kNone, kNone, kNone, kNone},
    {100, 24, 10, kNone, kNone, kNone},
    {1'000, 237, 102, 35, kNone, kNone},
    {10'000, 2'370, 1'020, 352, 83, kNone},
    {100'000, 23'700, 10'200, 3'520, 832, kNone},
    {1'000'000, 237'000, 102'000, 35'200, 8'320, 293},
    {kNone, kNone, kNone, 352'000, 83'200, 2'930},
    {kNone, kNone, kNone, 3'520'000, 832'000, 29'300},
    {kNone, kNone, kNone, 35'200'000, 8'320'000, 293'000},
}};

// EU GMP Annex 1 (2022), Table 1: maximum concentrations (particles/m³) at or above 0.5 and
// 5.0 µm, at rest and in operation, grade A to D.
struct GradeRow {
    std::array<double, 2> atRest;
    std::array<double, 2> inOperation;
};
constexpr std::array<GradeRow, 4> kEuGmpAnnex1Table1{{
    {{3'520, kNone}, {3'520, kNone}},
    {{3'520, kNone}, {352'000, 2'930}},
    {{352'000, 2'930}, {3'520'000, 29'300}},
    {{3'520'000, 29'300}, {kNone, kNone}},
}};

// ISO 14644-1:2015, Table A.1: the fewest sampling locations for areas up to each bound (m²).
struct LocationsForArea {
    double upToSquareMetres;
    std::int32_t locations;
};
constexpr std::array<LocationsForArea, 27> kIso14644TableA1{{
    {2, 1},    {4, 2},    {6, 3},    {8, 4},    {10, 5},   {24, 6},     {28, 7},
    {32, 8},   {36, 9},   {52, 10},  {56, 11},  {64, 12},  {68, 13},    {72, 14},
    {76, 15},  {104, 16}, {108, 17}, {116, 18}, {148, 19}, {156, 20},   {192, 21},
    {232, 22}, {276, 23}, {352, 24}, {436, 25}, {636, 26}, {1'000, 27},
}};
// Above the last bound: 27 per 1,000 m², rounded up.
constexpr double kLocationsPerSquareMetreAbove = 27.0 / 1'000.0;

std::optional<std::size_t> SizeColumn(double size, const double* sizes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (std::abs(sizes[i] - size) < 1e-9) {
            return i;
        }
    }
    return std::nullopt;
}

std::string SizeList(const double* sizes, std::size_t count) {
    std::string list;
    for (std::size_t i = 0; i < count; ++i) {
        list += (i == 0 ? "" : ", ") + SizeText(sizes[i]);
    }
    return list;
}

Limit Refused(std::string reason) {
    return {std::nullopt, std::move(reason)};
}

} // namespace

Limit IsoClassLimit(int isoClass, double size) {
    const std::string name = "ISO " + std::to_string(isoClass);
    if (isoClass < kFirstIsoClass || isoClass > kLastIsoClass) {
        return Refused("ISO classes run from 1 to 9; there is no ISO " + std::to_string(isoClass) +
                       ".");
    }
    const auto column = SizeColumn(size, kIsoTableSizes, std::size(kIsoTableSizes));
    if (!column) {
        return Refused("ISO 14644-1 gives limits at " +
                       SizeList(kIsoTableSizes, std::size(kIsoTableSizes)) + " only, not at " +
                       SizeText(size) + ".");
    }
    const double value = kIso14644Table1[static_cast<std::size_t>(isoClass - 1)][*column];
    if (value == kNone) {
        return Refused("ISO 14644-1 sets no limit for " + name + " at " + SizeText(size) +
                       ": the concentration is too low or too high to measure reliably there.");
    }
    return {value, {}};
}

Limit GradeLimit(GmpGrade grade, CleanroomState state, double size) {
    const std::string name = "grade " + GradeText(grade);
    if (state == CleanroomState::AsBuilt) {
        return Refused("EU GMP Annex 1 gives the grades' limits at rest and in operation, not "
                       "as built.");
    }
    const auto column = SizeColumn(size, kGradeTableSizes, std::size(kGradeTableSizes));
    if (!column) {
        return Refused("EU GMP Annex 1 gives limits at " +
                       SizeList(kGradeTableSizes, std::size(kGradeTableSizes)) + " only, not at " +
                       SizeText(size) + ".");
    }
    const GradeRow& row = kEuGmpAnnex1Table1[static_cast<std::size_t>(grade)];
    const double value = (state == CleanroomState::AtRest ? row.atRest : row.inOperation)[*column];
    if (value == kNone) {
        if (grade == GmpGrade::D) {
            return Refused("EU GMP Annex 1 does not predetermine limits for grade D in "
                           "operation: the manufacturer sets them.");
        }
        return Refused("EU GMP Annex 1 sets no limit for " + name + " " + StateText(state) +
                       " at " + SizeText(size) + ".");
    }
    return {value, {}};
}

std::int32_t MinimumLocations(double area) {
    for (const LocationsForArea& row : kIso14644TableA1) {
        if (area <= row.upToSquareMetres) {
            return row.locations;
        }
    }
    return static_cast<std::int32_t>(std::ceil(area * kLocationsPerSquareMetreAbove));
}

std::string GradeText(GmpGrade grade) {
    static constexpr const char* kNames[] = {"A", "B", "C", "D"};
    return kNames[static_cast<int>(grade)];
}

std::string StateText(CleanroomState state) {
    switch (state) {
    case CleanroomState::AsBuilt:
        return "as built";
    case CleanroomState::AtRest:
        return "at rest";
    case CleanroomState::InOperation:
        break;
    }
    return "in operation";
}

std::string SizeText(double size) {
    // One decimal as the channels are named (5.0), more only where the size has them.
    const bool tenths = std::abs(size * 10 - std::round(size * 10)) < 1e-9;
    char text[32];
    std::snprintf(text, sizeof text, tenths ? "%.1f µm" : "%g µm", size);
    return text;
}

} // namespace kestrix::cleanroom
