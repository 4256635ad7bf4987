#pragma once

// A classification report as a JSON document for other programs.

#include "kestrix/cleanroom/classification.h"

#include <string>

namespace kestrix::cleanroom {

std::string ReportJson(const ClassificationReport& report);

} // namespace kestrix::cleanroom
