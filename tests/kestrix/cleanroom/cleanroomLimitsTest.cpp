#include "kestrix/cleanroom/cleanroomLimits.h"

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace kestrix::cleanroom {
namespace {

using ::testing::HasSubstr;

// Cn = 10^N x (0.1/D)^2.08 to three significant figures; the table shows whole particles.
double ClassFormula(int isoClass, double size) {
    const double exact = std::pow(10.0, isoClass) * std::pow(0.1 / size, 2.08);
    const double scale = std::pow(10.0, std::floor(std::log10(exact)) - 2);
    return std::round(std::round(exact / scale) * scale);
}

// The cells the class table leaves empty: class, smallest and largest size.
bool IsEmptyIsoCell(int isoClass, double size) {
    const std::vector<std::pair<double, double>> empty{{0.2, 5.0}, {0.5, 5.0}, {1.0, 5.0},
                                                       {5.0, 5.0}, {5.0, 5.0}, {1, 0},
                                                       {0.1, 0.3}, {0.1, 0.3}, {0.1, 0.3}};
    const auto [from, to] = empty[static_cast<std::size_t>(isoClass - 1)];
    return size >= from - 1e-9 && size <= to + 1e-9;
}

TEST(IsoClassLimits, EveryCellIsTheFormulaRoundedOrRefused) {
    for (int isoClass = kFirstIsoClass; isoClass <= kLastIsoClass; ++isoClass) {
        for (const double size : kIsoTableSizes) {
            SCOPED_TRACE("ISO " + std::to_string(isoClass) + " at " + SizeText(size));
            const Limit limit = IsoClassLimit(isoClass, size);
            if (IsEmptyIsoCell(isoClass, size)) {
                EXPECT_FALSE(limit.perCubicMetre);
                EXPECT_THAT(limit.refusal,
                            HasSubstr("no limit for ISO " + std::to_string(isoClass)));
            } else {
                ASSERT_TRUE(limit.perCubicMetre) << limit.refusal;
                EXPECT_EQ(*limit.perCubicMetre, ClassFormula(isoClass, size));
            }
        }
    }
}

TEST(IsoClassLimits, ClassesAndSizesOutsideTheTableAreRefused) {
    const std::vector<std::pair<int, double>> cases{{0, 0.5}, {10, 0.5}, {5, 0.7}, {5, 10.0}};
    for (const auto& [isoClass, size] : cases) {
        EXPECT_FALSE(IsoClassLimit(isoClass, size).perCubicMetre) << isoClass << " " << size;
        EXPECT_FALSE(IsoClassLimit(isoClass, size).refusal.empty());
    }
}

struct GradeCase {
    GmpGrade grade;
    CleanroomState state;
    double at05; // 0: no limit
    double at50;
};

TEST(GradeLimits, EveryCellOfTheGradeTable) {
    using enum CleanroomState;
    const std::vector<GradeCase> cases{
        {GmpGrade::A, AtRest, 3'520, 0},          {GmpGrade::A, InOperation, 3'520, 0},
        {GmpGrade::B, AtRest, 3'520, 0},          {GmpGrade::B, InOperation, 352'000, 2'930},
        {GmpGrade::C, AtRest, 352'000, 2'930},    {GmpGrade::C, InOperation, 3'520'000, 29'300},
        {GmpGrade::D, AtRest, 3'520'000, 29'300}, {GmpGrade::D, InOperation, 0, 0},
    };
    for (const GradeCase& c : cases) {
        SCOPED_TRACE("grade " + GradeText(c.grade) + " " + StateText(c.state));
        const double expected[] = {c.at05, c.at50};
        for (std::size_t i = 0; i < std::size(kGradeTableSizes); ++i) {
            const Limit limit = GradeLimit(c.grade, c.state, kGradeTableSizes[i]);
            EXPECT_EQ(limit.perCubicMetre.value_or(0), expected[i]);
            EXPECT_EQ(limit.refusal.empty(), expected[i] != 0);
        }
    }
    EXPECT_THAT(GradeLimit(GmpGrade::D, CleanroomState::InOperation, 0.5).refusal,
                HasSubstr("does not predetermine"));
    EXPECT_FALSE(GradeLimit(GmpGrade::C, CleanroomState::AsBuilt, 0.5).perCubicMetre);
    EXPECT_FALSE(GradeLimit(GmpGrade::C, CleanroomState::AtRest, 0.3).perCubicMetre);
}

TEST(MinimumLocations, EveryRowOfTheAreaTableAndAbove) {
    const std::vector<std::pair<double, int>> bounds{
        {2, 1},    {4, 2},    {6, 3},    {8, 4},    {10, 5},   {24, 6},    {28, 7},
        {32, 8},   {36, 9},   {52, 10},  {56, 11},  {64, 12},  {68, 13},   {72, 14},
        {76, 15},  {104, 16}, {108, 17}, {116, 18}, {148, 19}, {156, 20},  {192, 21},
        {232, 22}, {276, 23}, {352, 24}, {436, 25}, {636, 26}, {1'000, 27}};
    double previous = 0;
    for (const auto& [bound, locations] : bounds) {
        EXPECT_EQ(MinimumLocations(bound), locations) << bound;
        EXPECT_EQ(MinimumLocations((previous + bound) / 2), locations) << bound;
        previous = bound;
    }
    EXPECT_EQ(MinimumLocations(0.5), 1);
    EXPECT_EQ(MinimumLocations(1'001), 28); // 27.027 rounded up
    EXPECT_EQ(MinimumLocations(2'000), 54);
}

} // namespace
} // namespace kestrix::cleanroom
