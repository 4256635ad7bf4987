#pragma once

// What the particle calculator needs to know of a record set's particle
// channels, worked out once: each channel's result keys and particle diameter.

#include "kestrix/calc/OrderedValueKeys.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::calc {

class ParticleChannelLayout {
public:
    ParticleChannelLayout() = default;
    ParticleChannelLayout(const data::clsDataRecordSet& recordSet, std::int16_t channelCount);

    // True when built from this record set with these channel tags and count.
    bool Matches(const data::clsDataRecordSet& recordSet, std::int16_t channelCount) const;

    std::int16_t ChannelCount() const { return static_cast<std::int16_t>(channels_.size()); }
    // Mean of this channel's size and the next channel's; the last channel's own size.
    double Diameter(std::int16_t channel) const { return At(channel).diameter; }
    std::int32_t NormalizedCountSlot(std::int16_t channel) const {
        return At(channel).normalizedCountSlot;
    }
    std::int32_t ParticulateMatterSlot(std::int16_t channel) const {
        return At(channel).particulateMatterSlot;
    }
    std::int32_t MassConcentrationSlot(std::int16_t channel) const {
        return At(channel).massConcentrationSlot;
    }
    std::int32_t TotalParticulateMatterSlot() const { return totalParticulateMatterSlot_; }
    const std::shared_ptr<const OrderedValueKeys>& Keys() const { return keys_; }

private:
    struct Channel {
        std::string sizeTag;
        double diameter = 0.0;
        std::int32_t normalizedCountSlot = 0;
        std::int32_t particulateMatterSlot = 0;
        std::int32_t massConcentrationSlot = 0;
    };

    const Channel& At(std::int16_t channel) const {
        return channels_[static_cast<std::size_t>(channel)];
    }

    const data::clsDataRecordSet* recordSet_ = nullptr;
    std::vector<Channel> channels_;
    std::int32_t totalParticulateMatterSlot_ = 0;
    std::shared_ptr<const OrderedValueKeys> keys_;
};

} // namespace kestrix::calc
