#pragma once

// The sentences and numbers of a classification report, shared by its files and views.

#include "kestrix/base/dateTime.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::cleanroom {

struct LeftOutRecord;

// "3,520": whole numbers with thousands separators.
std::string WholeNumberText(double value);
// "68.3": one decimal.
std::string OneDecimalText(double value);
// "LOC001 (Filling line)" or "LOC001".
std::string LocationLabel(std::int32_t locationId, const std::string& name);
// "2024-03-15 12:00:00".
std::string ReportDateTime(base::DateTime value);

std::string TooFewLocationsText(std::int32_t sampled, std::int32_t required, double area);
std::string NoRecordsText(std::int32_t locationId);
std::string LeftOutText(std::size_t records);
// "Record 5, location 1: flagged: bad laser voltage".
std::string LeftOutLine(const LeftOutRecord& record);
// The first records' lines, then "... and 20 more record(s).": a view lists no thousands.
inline constexpr std::size_t kLeftOutLinesShown = 10;
std::vector<std::string> LeftOutLines(const std::vector<LeftOutRecord>& records);
// Why a location cannot be classified: each of its records and why it was left out.
std::string NoUsableRecordText(const std::string& location,
                               const std::vector<LeftOutRecord>& records);
std::string SmallSamplesText(const std::string& location, std::size_t small, std::size_t samples,
                             double minimumLitres);
std::string ShortSamplesText(const std::string& location, std::size_t shortOnes,
                             std::size_t samples);
std::string GradeAVolumeText(const std::string& location, double totalLitres);

} // namespace kestrix::cleanroom
