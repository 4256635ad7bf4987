#pragma once

// What a room is classified against: an ISO class or an EU GMP Annex 1 grade, in an
// occupancy state, and the limit that gives at each considered size.

#include "kestrix/cleanroom/cleanroomLimits.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrix::cleanroom {

struct ClassificationTarget {
    std::optional<int> isoClass;   // either this
    std::optional<GmpGrade> grade; // or this
    CleanroomState state = CleanroomState::AtRest;

    Limit LimitAt(double sizeMicrometres) const;
    // "ISO Class 5" or "EU GMP Annex 1 Grade B".
    std::string Name() const;
    // The sizes among 0.5 and 5.0 µm that the target has limits at: the sizes used when the
    // user names none.
    std::vector<double> DefaultSizes() const;
};

std::optional<GmpGrade> ParseGrade(const std::string& text);
// "as-built", "at-rest", "in-operation".
std::optional<CleanroomState> ParseState(const std::string& text);

} // namespace kestrix::cleanroom
