#pragma once

#include "Scenario.h"

#include <cstddef>
#include <stdexcept>
#include <string>

namespace kestrix::sim {

// A scenario that cannot be used; the message names the offending field.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A scenario from JSON text. Every member is optional: "preset" names the starting point
// (otherwise the standard instrument), the others replace its parts.
Scenario ParseScenario(const std::string& jsonText);

// A full instrument's records take about 110 MB of scenario text; more is refused.
inline constexpr size_t kMaxScenarioBytes = size_t{512} << 20;
Scenario LoadScenarioFile(const std::string& path, size_t maxBytes = kMaxScenarioBytes);

} // namespace kestrix::sim
