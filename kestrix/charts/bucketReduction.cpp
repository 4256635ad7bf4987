#include "kestrix/charts/bucketReduction.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrix::charts {
namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

struct Bucket {
    std::size_t lowest = kNone;
    std::size_t highest = kNone;
};

bool Drawable(double time, double value, TimeRange range, bool positiveOnly) {
    return std::isfinite(time) && std::isfinite(value) && time >= range.first &&
           time <= range.last && (!positiveOnly || value > 0.0);
}

} // namespace

std::optional<TimeRange> SpanOf(std::span<const double> times) {
    std::optional<TimeRange> span;
    for (const double time : times) {
        if (!std::isfinite(time)) {
            continue;
        }
        if (!span) {
            span = TimeRange{time, time};
        }
        span->first = std::min(span->first, time);
        span->last = std::max(span->last, time);
    }
    return span;
}

std::vector<std::size_t> ReduceToBuckets(std::span<const double> times,
                                         std::span<const double> values, TimeRange range,
                                         int bucketCount, bool positiveOnly) {
    const std::size_t count = std::min(times.size(), values.size());
    std::vector<Bucket> buckets(static_cast<std::size_t>(std::max(bucketCount, 1)));
    const double width = range.last - range.first;
    const double scale = width > 0.0 ? static_cast<double>(buckets.size()) / width : 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!Drawable(times[i], values[i], range, positiveOnly)) {
            continue;
        }
        const auto slot = std::min(static_cast<std::size_t>((times[i] - range.first) * scale),
                                   buckets.size() - 1);
        Bucket& bucket = buckets[slot];
        if (bucket.lowest == kNone || values[i] < values[bucket.lowest]) {
            bucket.lowest = i;
        }
        if (bucket.highest == kNone || values[i] > values[bucket.highest]) {
            bucket.highest = i;
        }
    }
    std::vector<std::size_t> kept;
    kept.reserve(buckets.size() * 2);
    for (const Bucket& bucket : buckets) {
        if (bucket.lowest != kNone) {
            kept.push_back(bucket.lowest);
            kept.push_back(bucket.highest);
        }
    }
    // Buckets follow time, records may not: record order is what the lines connect.
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    return kept;
}

} // namespace kestrix::charts
