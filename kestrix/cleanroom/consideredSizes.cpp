#include "kestrix/cleanroom/consideredSizes.h"

#include "kestrix/cleanroom/cleanroomLimits.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/modDataType.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kestrix::cleanroom {

namespace {

// Sizes as the instrument names them (0.3, 0.50) compare by value.
constexpr double kSizeTolerance = 1e-6;

std::optional<std::int16_t> ChannelOfSize(const data::clsDataRecordSet& recordSet, double size) {
    for (std::int16_t channel = 0; channel < recordSet.GetPartChanCount(); ++channel) {
        const double channelSize =
            modDataType::ParticleSizeValue(recordSet.GetPartChanType(channel));
        if (std::abs(channelSize - size) < kSizeTolerance) {
            return channel;
        }
    }
    return std::nullopt;
}

} // namespace

SizeMatch MatchSizes(const data::clsDataRecordSet& recordSet, std::vector<double> sizes) {
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end(),
                            [](double a, double b) { return std::abs(a - b) < kSizeTolerance; }),
                sizes.end());
    SizeMatch match;
    for (const double size : sizes) {
        const auto channel = ChannelOfSize(recordSet, size);
        if (!channel) {
            return {{},
                    "The instrument has no particle channel of " + SizeText(size) +
                        "; its channels are " + ChannelSizesText(recordSet) + "."};
        }
        match.sizes.push_back({size, *channel});
    }
    return match;
}

std::string ChannelSizesText(const data::clsDataRecordSet& recordSet) {
    if (recordSet.GetPartChanCount() == 0) {
        return "no particle channels";
    }
    std::string list;
    for (std::int16_t channel = 0; channel < recordSet.GetPartChanCount(); ++channel) {
        list += (channel == 0 ? "" : ", ") + recordSet.GetPartChanType(channel);
    }
    return list + " µm";
}

} // namespace kestrix::cleanroom
