#include "RecordGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace kestrix::sim {
namespace {

constexpr double kSmallestCountsPerMinute = 30000.0;
constexpr double kSizeFalloffExponent = 2.2;
constexpr double kFaultProbability = 0.01;
constexpr uint8_t kThresholdBit = 0x10;
constexpr uint8_t kFaultBits[] = {0x01, 0x02, 0x04, 0x08, 0x40};
constexpr int kSamplesPerLocation = 3;

struct Drift {
    double start;
    double step;
    double low;
    double high;
};

Drift DriftForTag(const std::string& tag) {
    if (tag == "TEMP") {
        return {21.0, 0.05, 15.0, 30.0};
    }
    if (tag == "RH") {
        return {45.0, 0.3, 20.0, 80.0};
    }
    if (tag == "AIRV") {
        return {90.0, 2.0, 40.0, 140.0};
    }
    if (tag == "DPRS") {
        return {0.05, 0.002, 0.0, 0.2};
    }
    if (tag == "PRES") {
        return {29.9, 0.01, 29.0, 31.0};
    }
    return {1.0, 0.01, 0.0, 2.0};
}

bool IsSizeTag(const std::string& tag) {
    return !tag.empty() && tag.find_first_not_of("0123456789. ") == std::string::npos &&
           std::strtod(tag.c_str(), nullptr) > 0.0;
}

// Mean counts of each particle channel for one sample, relative to the smallest size present.
std::array<double, kParticleChannelCount> MeanCounts(const Scenario& scenario,
                                                     uint32_t sampleTime) {
    std::array<double, kParticleChannelCount> means{};
    double smallest = 0.0;
    for (int k = 0; k < kParticleChannelCount; ++k) {
        const std::string& tag = scenario.channels[kFirstParticleChannel + k].tag;
        if (IsSizeTag(tag)) {
            const double size = std::strtod(tag.c_str(), nullptr);
            smallest = smallest == 0.0 ? size : std::min(smallest, size);
        }
    }
    for (int k = 0; k < kParticleChannelCount; ++k) {
        const std::string& tag = scenario.channels[kFirstParticleChannel + k].tag;
        if (IsSizeTag(tag)) {
            const double size = std::strtod(tag.c_str(), nullptr);
            means[k] = kSmallestCountsPerMinute * sampleTime / 60.0 *
                       std::pow(smallest / size, kSizeFalloffExponent);
        }
    }
    return means;
}

uint16_t EnableBits(const Scenario& scenario, int first, int count) {
    uint16_t bits = 0;
    for (int k = 0; k < count; ++k) {
        if (scenario.channels[first + k].enabled) {
            bits |= static_cast<uint16_t>(1U << k);
        }
    }
    return bits;
}

// Counts are cumulative: a larger size never counts more than a smaller one.
void FillCounts(SampleRecord& record, const std::array<double, kParticleChannelCount>& means,
                SeededRandom& random) {
    const double load = std::max(0.05, 1.0 + 0.3 * random.Bell());
    uint32_t ceiling = UINT32_MAX;
    for (int k = 0; k < kParticleChannelCount; ++k) {
        const double jitter = std::max(0.0, 1.0 + 0.1 * random.Bell());
        const auto count = static_cast<uint32_t>(std::lround(means[k] * load * jitter));
        record.counts[k] = means[k] > 0.0 ? std::min(count, ceiling) : 0;
        if (means[k] > 0.0) {
            ceiling = record.counts[k];
        }
    }
}

uint8_t StatusFor(const SampleRecord& record, const Scenario& scenario, SeededRandom& random) {
    uint8_t status = 0;
    for (int k = 0; k < kParticleChannelCount; ++k) {
        const Channel& channel = scenario.channels[kFirstParticleChannel + k];
        if (channel.alarm && channel.threshold > 0 &&
            record.counts[k] > static_cast<uint32_t>(channel.threshold)) {
            status |= kThresholdBit;
        }
    }
    if (random.Uniform() < kFaultProbability) {
        status |= kFaultBits[random.Next() % std::size(kFaultBits)];
    }
    return status;
}

} // namespace

uint64_t SeededRandom::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double SeededRandom::Uniform() {
    return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double SeededRandom::Bell() {
    // Irwin-Hall with four terms has variance 1/3: scale by sqrt(3).
    const double sum = Uniform() + Uniform() + Uniform() + Uniform() - 2.0;
    return sum * 1.7320508075688772;
}

std::vector<SampleRecord> GenerateRecords(const RecordGeneration& generation,
                                          const Scenario& scenario) {
    SeededRandom random(generation.seed);
    const auto means = MeanCounts(scenario, generation.sampleTime);
    std::array<double, kAnalogChannelCount> readings{};
    for (int k = 0; k < kAnalogChannelCount; ++k) {
        readings[k] = DriftForTag(scenario.channels[kFirstAnalogChannel + k].tag).start;
    }
    const size_t locations = std::max<size_t>(1, scenario.locationNames.size());
    std::vector<SampleRecord> records(generation.count);
    for (size_t i = 0; i < records.size(); ++i) {
        SampleRecord& record = records[i];
        record.timeStamp = static_cast<int32_t>(
            std::min<int64_t>(INT32_MAX, int64_t{generation.startTime} +
                                             static_cast<int64_t>(i) * generation.interval));
        record.sampleTime = generation.sampleTime;
        record.location = static_cast<int32_t>(1 + (i / kSamplesPerLocation) % locations);
        record.particleEnable = EnableBits(scenario, kFirstParticleChannel, kParticleChannelCount);
        record.analogEnable = EnableBits(scenario, kFirstAnalogChannel, kAnalogChannelCount);
        FillCounts(record, means, random);
        for (int k = 0; k < kAnalogChannelCount; ++k) {
            const Drift drift = DriftForTag(scenario.channels[kFirstAnalogChannel + k].tag);
            readings[k] =
                std::clamp(readings[k] + drift.step * random.Bell(), drift.low, drift.high);
            record.analog[k] = scenario.channels[kFirstAnalogChannel + k].enabled
                                   ? static_cast<float>(readings[k])
                                   : 0.0F;
        }
        record.status = StatusFor(record, scenario, random);
    }
    return records;
}

} // namespace kestrix::sim
