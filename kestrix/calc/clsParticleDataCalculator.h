#pragma once

// Derives, for one sample record, the values the instrument does not report:
// counts normalized to the sampled air volume, the mass concentration of each
// particle channel, particulate matter below each size and the total.

#include "kestrix/calc/OrderedValues.h"
#include "kestrix/calc/ParticleChannelLayout.h"
#include "kestrix/data/modUnits.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrix::data {
class clsDataRecord;
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::calc {

class clsParticleDataCalculator {
public:
    // Both are borrowed: they must outlive their use by Calculate.
    const data::clsDataRecordSet* DataRecordSet() const { return recordSet_; }
    void DataRecordSet(const data::clsDataRecordSet* recordSet) { recordSet_ = recordSet; }
    const data::clsDataRecord* DataRecord() const { return record_; }
    void DataRecord(const data::clsDataRecord* record) { record_ = record; }

    bool CumulativeModeEnabled() const { return cumulativeModeEnabled_; }
    void CumulativeModeEnabled(bool enabled) { cumulativeModeEnabled_ = enabled; }
    bool NormalizedCountsEnabled() const { return normalizedCountsEnabled_; }
    void NormalizedCountsEnabled(bool enabled) { normalizedCountsEnabled_ = enabled; }
    std::int32_t NormalizedCountUnits() const { return normalizedCountUnits_; }
    void NormalizedCountUnits(std::int32_t unitCode) { normalizedCountUnits_ = unitCode; }
    // g/ml. A density that is not a positive number is ignored.
    double ParticleDensity() const { return particleDensity_; }
    void ParticleDensity(double density);
    bool MassConcentrationsEnabled() const { return massConcentrationsEnabled_; }
    void MassConcentrationsEnabled(bool enabled) { massConcentrationsEnabled_ = enabled; }
    std::int32_t MassConcentrationUnits() const { return modUnits::kUnitMicrogramsPerCubicMeter; }
    bool ParticulateMatterEnabled() const { return particulateMatterEnabled_; }
    void ParticulateMatterEnabled(bool enabled) { particulateMatterEnabled_ = enabled; }
    std::int32_t ParticulateMatterUnits() const { return modUnits::kUnitMicrogramsPerCubicMeter; }

    // The derived values of the record keyed by their data type tags, in the
    // order C, PM, MC per enabled channel and TPM last; none without a record
    // set or a record. Throws ArithmeticError when a value overflows.
    std::optional<OrderedValues> Calculate();
    // The same into results, reusing their storage; false (and results empty)
    // without a record set or a record. Results are empty after an error.
    bool Calculate(OrderedValues& results);

private:
    // A unit conversion worked out once per calculation instead of once per channel.
    struct Conversion {
        double factor = 1.0;
        double offset = 0.0;
        static Conversion Between(std::int32_t fromCode, std::int32_t toCode);
        double Apply(double value) const { return value * factor + offset; }
    };

    void RefreshLayout(std::int16_t channelCount);
    double SampleVolumeInCubicFeet() const;
    void AddChannel(std::int16_t channel, double volume, double& totalMass,
                    OrderedValues& results) const;
    double NormalizedCount(std::int16_t channel, double volume) const;
    double MassConcentration(std::int16_t channel, double volume) const;

    const data::clsDataRecordSet* recordSet_ = nullptr;
    const data::clsDataRecord* record_ = nullptr;
    bool cumulativeModeEnabled_ = false;
    bool normalizedCountsEnabled_ = false;
    std::int32_t normalizedCountUnits_ = modUnits::kUnitParticlesPerCubicFoot;
    double particleDensity_ = 2.5;
    bool massConcentrationsEnabled_ = false;
    bool particulateMatterEnabled_ = false;

    ParticleChannelLayout layout_;
    std::vector<double> particleMass_; // micrograms per particle, per channel of layout_
    bool particleMassStale_ = true;
    Conversion toNormalizedCountUnits_;
    Conversion toParticlesPerCubicMetre_;
};

} // namespace kestrix::calc
