#pragma once

// A classification report as a JSON document for other programs.

#include "kestrix/cleanroom/classification.h"

#include <string>

namespace kestrix::cleanroom {

std::string ReportJson(const ClassificationReport& report);

// "KX-" and the first 12 hex digits of the SHA-256 of the report's JSON without its ID: the same
// report always has the same ID, and any change of its content gives another.
std::string ReportId(const ClassificationReport& report);

} // namespace kestrix::cleanroom
