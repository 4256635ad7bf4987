#pragma once

#include "Scenario.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrix::sim {

std::vector<std::string> PresetNames();
std::optional<Scenario> FindPreset(const std::string& name);

} // namespace kestrix::sim
