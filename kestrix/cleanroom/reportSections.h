#pragma once

// The classification report's content in its order: summary, identification (who, when, which
// standard, which room), method, results, sampling locations, records left out and data
// checks, signatures.

#include "kestrix/cleanroom/ReportDocument.h"
#include "kestrix/cleanroom/classification.h"

#include <string>

namespace kestrix::cleanroom {

// Not classified: every location is within its limits but fewer were sampled than the area
// needs, so the room's class is not shown.
enum class Verdict { Pass, Fail, NotClassified };

Verdict ReportVerdict(const ClassificationReport& report);
// "PASS", "FAIL", "NOT CLASSIFIED".
std::string VerdictText(Verdict verdict);
// "pass", "fail", "not classified": the verdict in a sentence or the audit trail.
std::string VerdictWord(Verdict verdict);
// "not classified: ISO Class 7, 2 location(s), 1 check warning(s)".
std::string SummaryText(const ClassificationReport& report);

inline constexpr const char* kReportTitle = "Cleanroom Classification Report";

ReportDocument BuildReportDocument(const ClassificationReport& report);

} // namespace kestrix::cleanroom
