#include "kestrix/calc/ParticleChannelLayout.h"

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/modDataType.h"

namespace kestrix::calc {

namespace {

constexpr const char* kNormalizedCountPrefix = "C";
constexpr const char* kParticulateMatterPrefix = "PM";
constexpr const char* kMassConcentrationPrefix = "MC";
constexpr const char* kTotalParticulateMatterKey = "TPM";

} // namespace

ParticleChannelLayout::ParticleChannelLayout(const data::clsDataRecordSet& recordSet,
                                             std::int16_t channelCount)
    : recordSet_(&recordSet) {
    auto keys = std::make_shared<OrderedValueKeys>();
    std::vector<double> sizes;
    for (std::int16_t channel = 0; channel < channelCount; ++channel) {
        Channel entry;
        entry.sizeTag = recordSet.GetPartChanType(channel);
        entry.normalizedCountSlot = keys->Intern(kNormalizedCountPrefix + entry.sizeTag);
        entry.particulateMatterSlot = keys->Intern(kParticulateMatterPrefix + entry.sizeTag);
        entry.massConcentrationSlot = keys->Intern(kMassConcentrationPrefix + entry.sizeTag);
        sizes.push_back(modDataType::ParticleSizeValue(entry.sizeTag));
        channels_.push_back(std::move(entry));
    }
    for (std::size_t channel = 0; channel < channels_.size(); ++channel) {
        const bool isLast = channel + 1 == channels_.size();
        channels_[channel].diameter =
            isLast ? sizes[channel] : (sizes[channel] + sizes[channel + 1]) / 2.0;
    }
    totalParticulateMatterSlot_ = keys->Intern(kTotalParticulateMatterKey);
    keys_ = std::move(keys);
}

bool ParticleChannelLayout::Matches(const data::clsDataRecordSet& recordSet,
                                    std::int16_t channelCount) const {
    if (recordSet_ != &recordSet || ChannelCount() != channelCount) {
        return false;
    }
    for (std::int16_t channel = 0; channel < channelCount; ++channel) {
        if (At(channel).sizeTag != recordSet.GetPartChanType(channel)) {
            return false;
        }
    }
    return true;
}

} // namespace kestrix::calc
