#pragma once

#include "Scenario.h"

#include <cstdint>
#include <vector>

namespace kestrix::sim {

// SplitMix64: the same numbers for the same seed on every platform and library.
class SeededRandom {
public:
    explicit SeededRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // Uniform in [0, 1).
    double Uniform();
    // Mean 0, standard deviation about 1 (sum of uniforms, no library distribution).
    double Bell();

private:
    uint64_t state_;
};

// Plausible samples for the channels of the scenario: cumulative counts falling with particle
// size, rare status bits, environmental readings that drift, locations taken in turn.
std::vector<SampleRecord> GenerateRecords(const RecordGeneration& generation,
                                          const Scenario& scenario);

} // namespace kestrix::sim
