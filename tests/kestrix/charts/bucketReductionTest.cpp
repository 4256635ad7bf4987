#include "kestrix/charts/bucketReduction.h"

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <vector>

namespace kestrix::charts {
namespace {

using ::testing::ElementsAreArray;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<double> Counting(std::size_t count) {
    std::vector<double> values(count);
    std::iota(values.begin(), values.end(), 0.0);
    return values;
}

struct Case {
    const char* name;
    std::vector<double> times;
    std::vector<double> values;
    int buckets;
    bool positiveOnly;
    std::vector<std::size_t> kept;
};

TEST(BucketReduction, KeepsEachBucketsExtremesInRecordOrder) {
    const std::vector<Case> cases{
        {"empty", {}, {}, 4, false, {}},
        {"one point", {5.0}, {3.0}, 4, false, {0}},
        {"fewer points than buckets", {0, 1, 2}, {7, 1, 4}, 10, false, {0, 1, 2}},
        // Two buckets of time [0,2) and [2,4]: per bucket the lowest and the highest.
        {"spikes survive",
         {0, 0.5, 1, 1.5, 2, 3, 4},
         {5, 100, 6, -50, 7, 8, 9},
         2,
         false,
         {1, 3, 4, 6}},
        {"equal values keep the first", {0, 1, 2}, {4, 4, 4}, 1, false, {0}},
        {"not-a-number is a gap", {0, 1, kNaN, 3}, {1, kNaN, 9, 2}, 4, false, {0, 3}},
        {"log scale drops values <= 0", {0, 1, 2, 3}, {0, -1, 5, 2}, 4, true, {2, 3}},
        {"no bucket is still one", {0, 1, 2}, {3, 9, 1}, 0, false, {1, 2}},
        {"times that go backwards stay in record order",
         {3, 0, 2, 1},
         {1, 2, 3, 4},
         1,
         false,
         {0, 3}},
    };
    for (const Case& c : cases) {
        const auto range = SpanOf(c.times).value_or(TimeRange{});
        EXPECT_THAT(ReduceToBuckets(c.times, c.values, range, c.buckets, c.positiveOnly),
                    ElementsAreArray(c.kept))
            << c.name;
    }
}

TEST(BucketReduction, BoundsThePointCountAndKeepsTheGlobalExtremes) {
    const std::size_t count = 65535;
    const std::vector<double> times = Counting(count);
    std::vector<double> values(count);
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = std::sin(static_cast<double>(i) * 0.01) * 100.0;
    }
    values[12345] = 1e6;
    values[54321] = -1e6;
    for (const int buckets : {1, 7, 800, 4000}) {
        const auto kept = ReduceToBuckets(times, values, *SpanOf(times), buckets);
        EXPECT_LE(kept.size(), static_cast<std::size_t>(2 * buckets)) << buckets;
        EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end())) << buckets;
        EXPECT_THAT(kept, ::testing::Contains(12345)) << buckets;
        EXPECT_THAT(kept, ::testing::Contains(54321)) << buckets;
    }
}

TEST(BucketReduction, LeavesOutPointsOutsideAZoomedRange) {
    const std::vector<double> times = Counting(100);
    const std::vector<double> values = Counting(100);
    const std::vector<std::size_t> inside{20, 21, 22, 23, 24, 25, 26, 27, 28, 29};
    EXPECT_THAT(ReduceToBuckets(times, values, TimeRange{20, 29}, 100), ElementsAreArray(inside));
}

} // namespace
} // namespace kestrix::charts
