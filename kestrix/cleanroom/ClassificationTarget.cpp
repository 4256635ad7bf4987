#include "kestrix/cleanroom/ClassificationTarget.h"

#include <array>
#include <utility>

namespace kestrix::cleanroom {

Limit ClassificationTarget::LimitAt(double size) const {
    if (grade) {
        return GradeLimit(*grade, state, size);
    }
    return IsoClassLimit(isoClass.value_or(0), size);
}

std::string ClassificationTarget::Name() const {
    if (grade) {
        return "EU GMP Annex 1 Grade " + GradeText(*grade);
    }
    return "ISO Class " + std::to_string(isoClass.value_or(0));
}

std::vector<double> ClassificationTarget::DefaultSizes() const {
    std::vector<double> sizes;
    for (const double size : kGradeTableSizes) {
        if (LimitAt(size).perCubicMetre) {
            sizes.push_back(size);
        }
    }
    return sizes;
}

std::optional<GmpGrade> ParseGrade(const std::string& text) {
    static constexpr std::array kGrades{GmpGrade::A, GmpGrade::B, GmpGrade::C, GmpGrade::D};
    for (const GmpGrade grade : kGrades) {
        if (text == GradeText(grade)) {
            return grade;
        }
    }
    return std::nullopt;
}

std::optional<CleanroomState> ParseState(const std::string& text) {
    static constexpr std::array<std::pair<const char*, CleanroomState>, 3> kStates{{
        {"as-built", CleanroomState::AsBuilt},
        {"at-rest", CleanroomState::AtRest},
        {"in-operation", CleanroomState::InOperation},
    }};
    for (const auto& [name, state] : kStates) {
        if (text == name) {
            return state;
        }
    }
    return std::nullopt;
}

} // namespace kestrix::cleanroom
