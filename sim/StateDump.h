#pragma once

#include "Instrument.h"

#include <string>

namespace kestrix::sim {

// What a master may have changed: the location names, the density and the busy flag.
std::string StateJson(const Instrument& instrument);

// Written to a temporary file beside the target and renamed into place. False with a message
// when the file cannot be written.
bool WriteStateFile(const Instrument& instrument, const std::string& path, std::string& error);

} // namespace kestrix::sim
