#pragma once

// The considered particle sizes matched to the record set's particle channels. The set holds
// cumulative counts (at or above each size), which is what the limits are given for, so a
// channel's count is used as it is, whatever the table shows.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::cleanroom {

struct ConsideredSize {
    double micrometres = 0;
    std::int16_t channel = 0;
};

struct SizeMatch {
    std::vector<ConsideredSize> sizes; // ascending; empty when refused
    std::string refusal;
};

// Each size must name one particle channel; a size given twice counts once.
SizeMatch MatchSizes(const data::clsDataRecordSet& recordSet, std::vector<double> sizes);

// "0.3, 0.5, 5.0 µm", or "no particle channels".
std::string ChannelSizesText(const data::clsDataRecordSet& recordSet);

} // namespace kestrix::cleanroom
