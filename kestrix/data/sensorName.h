#pragma once

#include <string_view>

namespace kestrix::data {

// True for an instrument whose name holds "IAQ" in any letter case: its record sets have mass
// concentrations and PM values, and it keeps a particle density.
bool IsIaqSensorName(std::string_view sensorName);

} // namespace kestrix::data
