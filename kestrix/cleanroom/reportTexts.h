#pragma once

// The sentences and numbers of a classification report, shared by its files and views.

#include "kestrix/base/dateTime.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrix::cleanroom {

// "3,520": whole numbers with thousands separators.
std::string WholeNumberText(double value);
// "68.3": one decimal.
std::string OneDecimalText(double value);
// "LOC001 (Filling line)" or "LOC001".
std::string LocationLabel(std::int32_t locationId, const std::string& name);
// "2024-03-15 12:00:00".
std::string ReportDateTime(DateTime value);

// "fail: ISO Class 7, 3 location(s), 1 check warning(s)".
std::string SummaryText(bool passed, const std::string& target, std::size_t locations,
                        std::size_t checks);

std::string TooFewLocationsText(std::int32_t sampled, std::int32_t required, double area);
std::string NoRecordsText(std::int32_t locationId);
std::string LeftOutText(std::size_t records);
std::string SmallSamplesText(const std::string& location, std::size_t small, std::size_t samples,
                             double minimumLitres);
std::string ShortSamplesText(const std::string& location, std::size_t shortOnes,
                             std::size_t samples);
std::string GradeAVolumeText(const std::string& location, double totalLitres);

} // namespace kestrix::cleanroom
