#pragma once

#include "Scenario.h"

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
Scenario LoadScenarioFile(const std::string& path);

} // namespace kestrix::sim
