#pragma once

// Thins a series for drawing: the time range is cut into buckets (one per horizontal pixel)
// and each bucket keeps only its lowest and highest point, so spikes survive while the chart
// never receives more than two points per bucket.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace kestrix::charts {

struct TimeRange {
    double first = 0.0;
    double last = 0.0;
};

// The smallest and largest finite time; none when there is none.
std::optional<TimeRange> SpanOf(std::span<const double> times);

// Positions of the points to draw, ascending: per bucket of the range the first position of
// its lowest and of its highest value (one when they coincide). Points outside the range,
// with a time or value that is not a number, or (positiveOnly, for a logarithmic axis) with a
// value <= 0 are left out. Fewer than one bucket counts as one.
std::vector<std::size_t> ReduceToBuckets(std::span<const double> times,
                                         std::span<const double> values, TimeRange range,
                                         int bucketCount, bool positiveOnly = false);

} // namespace kestrix::charts
