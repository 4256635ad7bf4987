#pragma once

// An IAQ report as a JSON document for other programs: the days and the period.

#include "kestrix/iaq/iaqReport.h"

#include <string>

namespace kestrix::iaq {

std::string IaqReportJson(const IaqReport& report);

} // namespace kestrix::iaq
