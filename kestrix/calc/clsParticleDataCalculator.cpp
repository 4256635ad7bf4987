#include "kestrix/calc/clsParticleDataCalculator.h"

#include "kestrix/calc/ArithmeticError.h"
#include "kestrix/calc/unitConversion.h"
#include "kestrix/data/clsDataRecord.h"
#include "kestrix/data/clsDataRecordSet.h"

#include <cmath>

namespace kestrix::calc {

namespace {

constexpr double kMetresPerMicrometre = 1e-6;
constexpr double kGramsPerMlToGramsPerCubicMetre = 1e6;
constexpr double kMicrogramsPerGram = 1e6;
constexpr double kPi = 3.141592653;

// Micrograms in one sphere of the diameter (micrometres) and density (g/ml).
double ParticleMass(double diameter, double density) {
    const double metres = diameter * kMetresPerMicrometre;
    return metres * metres * metres * density * kGramsPerMlToGramsPerCubicMetre *
           kMicrogramsPerGram * (kPi / 6.0);
}

// Particles per cubic foot; none without a sampled volume.
double PerCubicFoot(double count, double volume) {
    return volume > 0.0 ? count / volume : 0.0;
}

} // namespace

clsParticleDataCalculator::Conversion
clsParticleDataCalculator::Conversion::Between(std::int32_t fromCode, std::int32_t toCode) {
    return {modUnits::GetConversionFactor(fromCode, toCode),
            modUnits::GetConversionOffset(fromCode, toCode)};
}

void clsParticleDataCalculator::ParticleDensity(double density) {
    if (!std::isfinite(density) || density <= 0.0) {
        return;
    }
    particleDensity_ = density;
    particleMassStale_ = true;
}

std::optional<OrderedValues> clsParticleDataCalculator::Calculate() {
    OrderedValues results;
    if (!Calculate(results)) {
        return std::nullopt;
    }
    return results;
}

bool clsParticleDataCalculator::Calculate(OrderedValues& results) {
    if (recordSet_ == nullptr || record_ == nullptr) {
        results.Reset(nullptr);
        return false;
    }
    const std::int16_t channelCount = record_->GetPartChanCount();
    RefreshLayout(channelCount);
    toNormalizedCountUnits_ =
        Conversion::Between(modUnits::kUnitParticlesPerCubicFoot, normalizedCountUnits_);
    toParticlesPerCubicMetre_ = Conversion::Between(modUnits::kUnitParticlesPerCubicFoot,
                                                    modUnits::kUnitParticlesPerCubicMeter);
    results.Reset(layout_.Keys());
    try {
        const double volume = SampleVolumeInCubicFeet();
        double totalMass = 0.0;
        for (std::int16_t channel = 0; channel < channelCount; ++channel) {
            if (record_->GetPartChanEnable(channel)) {
                AddChannel(channel, volume, totalMass, results);
            }
        }
        if (particulateMatterEnabled_) {
            results.Add(layout_.TotalParticulateMatterSlot(), totalMass);
        }
    } catch (const ArithmeticError&) {
        results.Reset(nullptr);
        throw;
    }
    return true;
}

void clsParticleDataCalculator::RefreshLayout(std::int16_t channelCount) {
    if (!layout_.Matches(*recordSet_, channelCount)) {
        layout_ = ParticleChannelLayout(*recordSet_, channelCount);
        particleMassStale_ = true;
    }
    if (!particleMassStale_) {
        return;
    }
    particleMass_.resize(static_cast<std::size_t>(channelCount));
    for (std::int16_t channel = 0; channel < channelCount; ++channel) {
        particleMass_[static_cast<std::size_t>(channel)] =
            ParticleMass(layout_.Diameter(channel), particleDensity_);
    }
    particleMassStale_ = false;
}

double clsParticleDataCalculator::SampleVolumeInCubicFeet() const {
    const double minutes = modUnits::ConvertUnits(
        record_->GetSampleTimeValue(), modUnits::GetUnitCode(recordSet_->GetSampleTimeUnits()),
        modUnits::kUnitMinutes);
    const double cubicFeetPerMinute =
        modUnits::ConvertUnits(recordSet_->GetSensorFlowRate(),
                               modUnits::GetUnitCode(recordSet_->GetSensorFlowRateUnits()),
                               modUnits::kUnitCubicFeetPerMinute);
    return RequireFinite(cubicFeetPerMinute * minutes, "the sample volume");
}

void clsParticleDataCalculator::AddChannel(std::int16_t channel, double volume, double& totalMass,
                                           OrderedValues& results) const {
    if (normalizedCountsEnabled_) {
        results.Add(layout_.NormalizedCountSlot(channel), NormalizedCount(channel, volume));
    }
    if (particulateMatterEnabled_ && channel > 0) {
        results.Add(layout_.ParticulateMatterSlot(channel), totalMass);
    }
    if (massConcentrationsEnabled_ || particulateMatterEnabled_) {
        const double mass = MassConcentration(channel, volume);
        totalMass = RequireFinite(totalMass + mass, "the particulate matter");
        results.Add(layout_.MassConcentrationSlot(channel), mass);
    }
}

double clsParticleDataCalculator::NormalizedCount(std::int16_t channel, double volume) const {
    const double count = record_->GetPartChanValue(channel, cumulativeModeEnabled_);
    return RequireFinite(toNormalizedCountUnits_.Apply(PerCubicFoot(count, volume)),
                         "a normalized count");
}

double clsParticleDataCalculator::MassConcentration(std::int16_t channel, double volume) const {
    const double differentialCount = record_->GetPartChanValue(channel, false);
    const double perCubicMetre =
        toParticlesPerCubicMetre_.Apply(PerCubicFoot(differentialCount, volume));
    return RequireFinite(perCubicMetre * particleMass_[static_cast<std::size_t>(channel)],
                         "a mass concentration");
}

} // namespace kestrix::calc
