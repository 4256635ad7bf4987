#pragma once

// The words and numbers of an IAQ report, shared by its files, the command line and the window.

#include "kestrix/iaq/iaqReport.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrix::iaq {

// "108.41", or "-" when unknown.
std::string PmText(std::optional<double> value);
// "243", "500+" beyond the index, or "-".
std::string IndexText(const std::optional<PollutantIndex>& index);
std::string OverallIndexText(const DayIndexes& index);
// "Very Unhealthy (PM10)", or "-".
std::string CategoryText(const DayIndexes& index);
// "exceeded", "within", or "not judged" on an incomplete day.
std::string WhoText(std::optional<bool> exceeded);

// The days as columns: the headings, then one row of texts a day.
std::vector<std::string> DayHeadings();
std::vector<std::string> DayCells(const IaqDay& day);

// "Location 1 (OFFICE), Location 2".
std::string LocationsText(const IaqReport& report);

// Complete days, WHO exceedances, the period's means.
std::vector<std::string> SummaryLines(const IaqReport& report);

} // namespace kestrix::iaq
