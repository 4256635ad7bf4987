#pragma once

// The limits a cleanroom is classified against: the maximum concentrations of the ISO classes
// and of the EU GMP Annex 1 grades, and the minimum number of sampling locations for an area.
// Every value comes from the tables in cleanroomLimits.cpp.

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix::cleanroom {

inline constexpr int kFirstIsoClass = 1;
inline constexpr int kLastIsoClass = 9;

enum class GmpGrade { A, B, C, D };
enum class CleanroomState { AsBuilt, AtRest, InOperation };

// A maximum concentration in particles per cubic metre of particles at or above a size, or
// the reason there is none.
struct Limit {
    std::optional<double> perCubicMetre;
    std::string refusal; // set when perCubicMetre is not
};

// The considered sizes the class table gives limits at, in micrometres.
inline constexpr double kIsoTableSizes[] = {0.1, 0.2, 0.3, 0.5, 1.0, 5.0};
// The sizes the grade table gives limits at.
inline constexpr double kGradeTableSizes[] = {0.5, 5.0};

Limit IsoClassLimit(int isoClass, double sizeMicrometres);
Limit GradeLimit(GmpGrade grade, CleanroomState state, double sizeMicrometres);

// The fewest sampling locations for a room or zone of this area (square metres, > 0).
std::int32_t MinimumLocations(double areaSquareMetres);

// Texts as the command line and the report write them: "A", "at rest".
std::string GradeText(GmpGrade grade);
std::string StateText(CleanroomState state);
// "%g" with "µm".
std::string SizeText(double sizeMicrometres);

} // namespace kestrix::cleanroom
